#include "ui/foundation/FrenchApplicationNames.h"

#include <array>
#include <utility>

namespace olvane::ui {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 50> kNames{{
    {"com.apple.calculator", "Calculette"},
    {"com.apple.Preview", "Aperçu"},
    {"com.apple.finder", "Finder"},
    {"com.apple.mail", "Mail"},
    {"com.apple.iCal", "Calendrier"},
    {"com.apple.AddressBook", "Contacts"},
    {"com.apple.reminders", "Rappels"},
    {"com.apple.Notes", "Notes"},
    {"com.apple.Maps", "Plans"},
    {"com.apple.weather", "Météo"},
    {"com.apple.stocks", "Bourse"},
    {"com.apple.news", "News"},
    {"com.apple.Home", "Maison"},
    {"com.apple.freeform", "Tableau"},
    {"com.apple.Dictionary", "Dictionnaire"},
    {"com.apple.TextEdit", "TextEdit"},
    {"com.apple.QuickTimePlayerX", "QuickTime Player"},
    {"com.apple.ScreenSharing", "Partage d'écran"},
    {"com.apple.ActivityMonitor", "Moniteur d'activité"},
    {"com.apple.dt.Xcode", "Xcode"},
    {"com.apple.Safari", "Safari"},
    {"com.apple.systempreferences", "Réglages Système"},
    {"com.apple.AppStore", "App Store"},
    {"com.apple.PhotoBooth", "Photo Booth"},
    {"com.apple.Photos", "Photos"},
    {"com.apple.iChat", "Messages"},
    {"com.apple.FaceTime", "FaceTime"},
    {"com.apple.Music", "Musique"},
    {"com.apple.Podcasts", "Podcasts"},
    {"com.apple.TV", "TV"},
    {"com.apple.Books", "Livres"},
    {"com.apple.VoiceMemos", "Dictaphone"},
    {"com.apple.Chess", "Échecs"},
    {"com.apple.keychainaccess", "Trousseaux d'accès"},
    {"com.apple.Terminal", "Terminal"},
    {"com.apple.Console", "Console"},
    {"com.apple.DiskUtility", "Utilitaire de disque"},
    {"com.apple.MigrateAssistant", "Assistant migration"},
    {"com.apple.Grapher", "Grapher"},
    {"com.apple.DigitalColorMeter", "Colorimètre numérique"},
    {"com.apple.ScriptEditor2", "Éditeur de script"},
    {"com.apple.automator", "Automator"},
    {"com.apple.ScreenCaptureUI", "Capture d'écran"},
    {"com.apple.shortcuts", "Raccourcis"},
    {"com.apple.clock", "Horloge"},
    {"com.apple.Image_Capture", "Transfert d'images"},
    {"com.apple.FontBook", "Livre des polices"},
    {"com.apple.airport.airportutility", "Utilitaire AirPort"},
    {"com.apple.BluetoothFileExchange", "Échange de fichiers Bluetooth"},
    {"com.apple.SystemProfiler", "Informations système"},
}};

}  // namespace

std::optional<std::string_view> frenchApplicationName(std::string_view applicationId) {
    for (const auto& [id, name] : kNames) {
        if (id == applicationId) {
            return name;
        }
    }
    return std::nullopt;
}

}  // namespace olvane::ui
