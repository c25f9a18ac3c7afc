#include "app/UninstallStep.h"

#include <array>

namespace olvane {
namespace {

constexpr std::array<std::string_view, kUninstallStepCount> kLabels = {
    "Retrait du filtre",
    "Arrêt du suivi d'activité",
    "Mise à jour des extensions",
    "Envoi des commandes",
    "Retrait des connexions navigateurs",
    "Désactivation du démarrage automatique",
    "Désenregistrement du service en arrière-plan",
    "Nettoyage du fichier PID",
    "Suppression des dossiers",
    "Effacement des réglages",
    "Envoi à la Corbeille",
};

}  // namespace

std::optional<UninstallStep> uninstallStepFromRaw(int raw) {
    if (raw < 0 || raw >= kUninstallStepCount) {
        return std::nullopt;
    }
    return static_cast<UninstallStep>(raw);
}

std::string_view uninstallStepLabel(int raw) {
    return uninstallStepFromRaw(raw) ? kLabels[static_cast<std::size_t>(raw)] : std::string_view();
}

}  // namespace olvane
