#include "app/CompositorCompanion.h"

#include <systemd/sd-bus.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <string_view>

#include "model/Logger.h"
#include "platform/FileIO.h"
#include "platform/linux/DesktopNotification.h"
#include "platform/linux/KConfigText.h"
#include "platform/linux/SessionType.h"

namespace olvane {
namespace {

using namespace std::chrono_literals;
using Kind = platform::os::GnomeExtensionState::Kind;

// The extension attaches within a moment of the name's coming when it runs.
constexpr auto kGnomeAttachWait = 3s;

const Logger& log() {
    return Logger::windowMonitor();
}

// Xwayland's pixels per logical pixel of KWin: kwinrc's [Xwayland] Scale, 1 unless set.
double kwinXwaylandScale(const platform::Paths& paths) {
    const auto kwinrc = platform::readWholeFile(paths.configHome() / "kwinrc");
    const auto text =
        kwinrc ? platform::os::kconfig::entry(*kwinrc, "Xwayland", "Scale") : std::nullopt;
    double scale = 1;
    if (!text ||
        std::from_chars(text->data(), text->data() + text->size(), scale).ec != std::errc() ||
        !(scale > 0 && scale <= 10)) {
        return 1;
    }
    return scale;
}

std::vector<std::filesystem::path> gnomeExtensionFolders(const platform::Paths& paths) {
    std::vector<std::filesystem::path> folders{paths.dataHome() / "gnome-shell" / "extensions"};
    for (const auto& folder : paths.dataDirs()) {
        folders.push_back(folder / "gnome-shell" / "extensions");
    }
    return folders;
}

// What the user is told, empty when there is nothing for them to do.
std::string gnomeAdvice(const platform::os::GnomeExtensionState& state) {
    switch (state.kind) {
        case Kind::installedSinceLogin:
            return "L’extension d’OlvaneMac pour GNOME Shell est installée, mais GNOME ne charge "
                   "ses extensions qu’à l’ouverture de la session : fermez la session puis "
                   "rouvrez-la pour qu’OlvaneMac voie toutes les applications.";
        case Kind::disabled:
            return "L’extension d’OlvaneMac pour GNOME Shell est désactivée : activez « OlvaneMac "
                   "» "
                   "dans l’application Extensions pour qu’OlvaneMac voie toutes les applications.";
        case Kind::userExtensionsOff:
            return "Les extensions de GNOME Shell sont désactivées : OlvaneMac ne voit que les "
                   "applications X11. Réactivez les extensions dans l’application Extensions pour "
                   "qu’il les voie toutes.";
        case Kind::outOfDate:
            return "GNOME Shell " + state.shellVersion +
                   " est plus récent que les versions que connaît l’extension d’OlvaneMac : "
                   "OlvaneMac ne voit que les applications X11 jusqu’à sa mise à jour.";
        case Kind::failed:
            return "L’extension d’OlvaneMac pour GNOME Shell a échoué : OlvaneMac ne voit que "
                   "les applications X11.";
        case Kind::running:
        case Kind::absent:
        case Kind::unknown:
            break;
    }
    return {};
}

}  // namespace

std::unique_ptr<CompositorCompanion> CompositorCompanion::create(
    platform::RunLoop& loop, platform::ProcessWatcher& processes, const platform::Paths& paths,
    Fallbacks fallbacks) {
    if (!platform::os::isWaylandSession()) {
        return nullptr;
    }
    auto bus = platform::os::AsyncBus::open(loop);
    if (!bus) {
        return nullptr;
    }
    auto link = platform::os::CompanionLink::create(loop, *bus);
    if (!link) {
        log().error(
            "Le nom « %{public}s » du bus de session est déjà pris : le compagnon du compositeur "
            "ne rendra compte à personne, seules les applications X11 sont vues",
            platform::os::CompanionLink::kBusName);
        return nullptr;
    }
    std::unique_ptr<CompositorCompanion> companion(
        new CompositorCompanion(loop, paths, std::move(bus), std::move(link)));
    companion->build(processes, fallbacks);
    return companion;
}

CompositorCompanion::CompositorCompanion(platform::RunLoop& loop, const platform::Paths& paths,
                                         std::unique_ptr<platform::os::AsyncBus> bus,
                                         std::unique_ptr<platform::os::CompanionLink> link)
    : loop_(loop), paths_(paths), bus_(std::move(bus)), link_(std::move(link)) {}

CompositorCompanion::~CompositorCompanion() = default;

void CompositorCompanion::build(platform::ProcessWatcher& processes, Fallbacks fallbacks) {
    windows_ = std::make_unique<platform::os::CompanionWindows>(*link_);
    workspace_ = std::make_unique<platform::os::CompanionWorkspace>(
        loop_, processes, *link_, *windows_, paths_.applicationEntryFolders(), fallbacks.workspace);
    windowServer_ =
        std::make_unique<platform::os::CompanionWindowServer>(*windows_, fallbacks.windowServer);
    pointer_ = std::make_unique<platform::os::CompanionPointer>(loop_, *link_, *windows_,
                                                                fallbacks.pointer);
    stacking_ = std::make_unique<platform::os::CompanionStacking>(*link_, *windows_);
    companionWatch_ = link_->observeCompanion([this] { companionChanged(); });
    problems_ = link_->observeProblem([](const platform::ComposedText& problem) {
        log().logError("Compagnon du compositeur", problem);
    });
    const platform::os::BusMethod getOwner{"org.freedesktop.DBus", "/org/freedesktop/DBus",
                                           "org.freedesktop.DBus", "GetNameOwner"};
    const char* compositors[] = {"org.gnome.Shell", "org.kde.KWin"};
    for (int i = 0; i < 2; ++i) {
        const std::string name = compositors[i];
        compositorChecks_[i] = bus_->call(
            getOwner,
            [this, name](sd_bus_message* reply, const platform::ComposedText&) {
                if (reply) {
                    compositorAppeared(name);
                }
            },
            "s", name.c_str());
    }
}

std::string CompositorCompanion::description() const {
    if (windows_->live() && link_->companion()) {
        return "compagnon de " + link_->companion()->compositor + " " +
               link_->companion()->version + " : toutes les fenêtres de la session";
    }
    return "compagnon du compositeur attendu ; d’ici là EWMH du gestionnaire de fenêtres X11 "
           "(applications X11 seulement)";
}

void CompositorCompanion::compositorAppeared(const std::string& name) {
    if (name == "org.kde.KWin" && !kwinScript_) {
        log().info("Session KDE Wayland : chargement du script compagnon de KWin");
        kwinScript_ = std::make_unique<platform::os::KWinCompanionScript>(
            *bus_, paths_.runtimeFolder() / "kwin-companion.js");
        kwinFailures_ = kwinScript_->observeFailure([](const platform::ComposedText& why) {
            log().logError("Script compagnon de KWin", why);
        });
    } else if (name == "org.gnome.Shell" && !gnomeShell_) {
        gnomeShell_ = true;
        gnomeCheckLater_ = loop_.after(kGnomeAttachWait, [this] { checkGnomeExtension(); });
    }
}

void CompositorCompanion::companionChanged() {
    const bool attached = link_->companion().has_value();
    if (wasAttached_ == attached) {
        return;
    }
    wasAttached_ = attached;
    if (attached) {
        const auto& companion = *link_->companion();
        // KWin lays Xwayland's pixels out at its own scale; GNOME's are its logical ones.
        windows_->setXwaylandScale(companion.compositor == "kwin" ? kwinXwaylandScale(paths_) : 1);
        log().info(
            "Compagnon de %{public}s %{public}s attaché : toutes les fenêtres de la session sont "
            "vues",
            companion.compositor, companion.version);
        gnomeCheckLater_.cancel();
        return;
    }
    log().notice("Compagnon du compositeur parti : seules les applications X11 sont vues");
    if (kwinScript_) {
        kwinScript_->reload();
    }
    if (gnomeShell_) {
        gnomeCheckLater_ = loop_.after(kGnomeAttachWait, [this] { checkGnomeExtension(); });
    }
}

void CompositorCompanion::checkGnomeExtension() {
    if (link_->companion()) {
        return;
    }
    gnomeQuestion_ = platform::os::askGnomeExtensionState(
        *bus_, kGnomeExtensionUuid, gnomeExtensionFolders(paths_),
        [this](const platform::os::GnomeExtensionState& state) { tellGnomeExtensionState(state); });
}

void CompositorCompanion::tellGnomeExtensionState(const platform::os::GnomeExtensionState& state) {
    if (link_->companion()) {
        return;
    }
    const auto advice = gnomeAdvice(state);
    if (!advice.empty()) {
        log().notice("%{public}s", advice);
        if (!std::exchange(toldGnomeState_, true)) {
            (void)platform::os::showDesktopNotification(
                "OlvaneMac ne voit pas toutes les applications", advice);
        }
        if (state.kind == Kind::failed && !state.error.empty()) {
            log().error("Erreur de l’extension GNOME Shell : %s", state.error);
        }
        return;
    }
    if (state.kind == Kind::absent) {
        log().notice(
            "L’extension d’OlvaneMac pour GNOME Shell n’est pas installée : seules les "
            "applications X11 sont vues");
    } else if (state.kind == Kind::unknown) {
        log().notice(
            "GNOME Shell ne dit rien de l’extension d’OlvaneMac : seules les "
            "applications X11 sont vues");
    } else {
        log().notice(
            "L’extension d’OlvaneMac pour GNOME Shell est active mais ne s’est pas "
            "encore annoncée");
    }
}

}  // namespace olvane
