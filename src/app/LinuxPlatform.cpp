#include "app/LinuxPlatform.h"

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/WatchdogManager.h"
#include "friction/FogEffectService.h"
#include "model/Logger.h"
#include "platform/RunningProgram.h"
#include "platform/sim/SimulatedDisplayFile.h"

namespace olvane {
namespace {

std::string missingInputSources() {
    return std::getenv("DISPLAY") ? "le serveur X n’offre pas XInput 2.2 et XKB"
                                  : "pas de serveur X (DISPLAY absent)";
}

std::vector<platform::SystemTray*> presentTrays(
    std::initializer_list<platform::SystemTray*> trays) {
    std::vector<platform::SystemTray*> present;
    for (auto* tray : trays) {
        if (tray) {
            present.push_back(tray);
        }
    }
    return present;
}

}  // namespace

LinuxPlatform::LinuxPlatform(platform::RunLoop& loop, platform::Paths paths,
                             EffectWindowFactories effectWindows)
    : loop_(loop),
      paths_(std::move(paths)),
      files_(loop),
      defaults_(paths_.defaultsFile(), clock_),
      simulatedDisplay_(platform::sim::SimulatedDisplayFile::defaultPath(paths_)),
      ctmOutputs_(&loop),
      ctmOutputNames_(ctmOutputs_.coveredOutputNames()),
      desktopGrayscale_(paths_, !ctmOutputNames_.empty(), loop, files_),
      x11Keys_(platform::os::X11KeyEventSource::create(loop)),
      x11Presses_(platform::os::X11PointerPresses::create(loop)),
      xembedTray_(platform::os::XEmbedSystemTray::create(loop)),
      statusNotifierHost_(platform::os::StatusNotifierHost::create(loop)),
      systemTray_(presentTrays({xembedTray_.get(), statusNotifierHost_.get()})),
      accessibilityTrust_([this] { return x11Keys_ ? std::string() : missingInputSources(); },
                          [](const std::string& missing) {
                              Logger::app().notice("Touches du clavier inobservables : %{public}s",
                                                   missing);
                          }),
      processes_(loop),
      x11Workspace_(
          platform::os::X11Workspace::create(loop, processes_, paths_.applicationEntryFolders())),
      x11Windows_(x11Workspace_ ? platform::os::X11WindowServer::create(loop) : nullptr),
      pointerInput_(loop),
      x11Pointer_(platform::os::X11Pointer::create(loop)),
#if OLVANE_HAVE_COMPANION
      companion_(CompositorCompanion::create(
          loop, processes_, paths_,
          {.workspace = x11Workspace_ && x11Windows_ ? x11Workspace_.get() : nullptr,
           .windowServer = x11Workspace_ && x11Windows_ ? x11Windows_.get() : nullptr,
           .pointer = x11Pointer_ ? static_cast<platform::PointerLocation*>(x11Pointer_.get())
                                  : &pointerInput_.eventTap()})),
#endif
      fogWindows_(fogWindowsOver(effectWindows.fog ? *effectWindows.fog : simulatedFogWindows_)),
      delayPanels_(effectWindows.delayPanels ? *effectWindows.delayPanels : simulatedDelayPanels_),
      frameClock_(loop, FogEffectService::kMinFrameInterval),
      logind_(platform::os::LogindSessionEvents::create(loop)),
      systemEvents_(loop,
                    logind_ ? static_cast<platform::SystemEvents&>(*logind_) : scriptedEvents_),
      userServices_(paths_),
      detachedProcesses_(loop),
      loginItems_(paths_, platform::runningProgram()),
      trash_(paths_.trashFolder(), clock_),
      watchdogExecutable_(WatchdogManager::defaultAgentExecutable()),
      hostExecutable_(ApplicationBundle::companionProgram("olvanemac-host", "host")),
      bundle_(ApplicationBundle::ofRunningProgram(paths_)) {
}

platform::ComposedText LinuxPlatform::displayChoice() const {
    if (desktopGrayscale_.route().display == GrayscaleRoute::Display::Simulated) {
        return "simulé (" + platform::userData(simulatedDisplay_.file().string()) +
               ") : aucune sortie X11 n’a de propriété CTM";
    }
    if (ctmOutputNames_.empty()) {
        return "aucun : aucune sortie X11 n’a de propriété CTM";
    }
    std::string names;
    for (const auto& name : ctmOutputNames_) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return "propriété CTM de RandR (" + platform::ComposedText(names) + ")";
}

platform::OverlayWindowFactory<FogEffectState>& LinuxPlatform::fogWindowsOver(
    platform::OverlayWindowFactory<FogEffectState>& interface) {
#if OLVANE_HAVE_COMPANION
    if (companion_) {
        shellFog_ =
            std::make_unique<ShellFogWindows>(companion_->link(), companion_->windows(), interface);
        return *shellFog_;
    }
#endif
    return interface;
}

platform::ComposedText LinuxPlatform::fogChoice() const {
    if (&fogWindows_ == &simulatedFogWindows_) {
        return "simulés";
    }
#if OLVANE_HAVE_COMPANION
    if (shellFog_) {
        return "dans GNOME Shell par son extension tant qu’elle rend compte, sinon fenêtres Qt";
    }
#endif
    return "fenêtres Qt";
}

platform::ComposedText LinuxPlatform::windowsChoice() const {
#if OLVANE_HAVE_COMPANION
    if (companion_) {
        return platform::ComposedText(companion_->description());
    }
#endif
    return x11Workspace_ && x11Windows_ ? "EWMH du gestionnaire de fenêtres X11 et /proc"
                                        : "simulées : pas de gestionnaire de fenêtres X11 EWMH";
}

platform::ColorRemapDevice& LinuxPlatform::display() {
    if (desktopGrayscale_.route().display == GrayscaleRoute::Display::Simulated) {
        return simulatedDisplay_;
    }
    return ctmOutputs_;
}

platform::Workspace& LinuxPlatform::workspace() {
#if OLVANE_HAVE_COMPANION
    if (companion_) {
        return companion_->workspace();
    }
#endif
    if (x11Workspace_ && x11Windows_) {
        return *x11Workspace_;
    }
    return workspace_;
}

platform::KeyEventSource& LinuxPlatform::keys() {
    if (x11Keys_) {
        return *x11Keys_;
    }
    return keys_;
}

platform::PointerLocation& LinuxPlatform::pointer() {
#if OLVANE_HAVE_COMPANION
    if (companion_) {
        return companion_->pointer();
    }
#endif
    if (x11Pointer_) {
        return *x11Pointer_;
    }
    return pointerInput_.eventTap();
}

platform::WindowServer& LinuxPlatform::windowServer() {
#if OLVANE_HAVE_COMPANION
    if (companion_) {
        return companion_->windowServer();
    }
#endif
    if (x11Workspace_ && x11Windows_) {
        return *x11Windows_;
    }
    return windowServer_;
}

platform::CompositorStacking* LinuxPlatform::compositorStacking() {
#if OLVANE_HAVE_COMPANION
    if (companion_) {
        return &companion_->stacking();
    }
#endif
    return nullptr;
}

platform::PointerPresses& LinuxPlatform::pointerPresses() {
    if (x11Presses_) {
        return *x11Presses_;
    }
    return presses_;
}

void LinuxPlatform::logChoices() {
    using platform::ComposedText;
    using platform::userData;
    const auto& log = Logger::app();
    const char* trays = xembedTray_ && statusNotifierHost_
                            ? "XEmbed (XFixes) et StatusNotifier (bus de session)"
                        : xembedTray_         ? "XEmbed (XFixes) ; pas de bus de session"
                        : statusNotifierHost_ ? "StatusNotifier (bus de session) ; pas de serveur X"
                                              : "aucune : ni serveur X ni bus de session";
    const std::vector<std::pair<const char*, ComposedText>> choices = {
        {"surveillance des fichiers", files_.valid() ? "inotify" : "indisponible (inotify)"},
        {"préférences", userData(defaults_.file().string())},
        {"affichage", displayChoice()},
        {"niveaux de gris du bureau", desktopGrayscale_.route().description},
        {"raccourcis clavier", x11Keys_ ? "XInput2 (touches brutes) et état XKB"
                                        : "simulés : " + ComposedText(missingInputSources())},
        {"applications et fenêtres", windowsChoice()},
        {"zone de notification", trays},
        {"clics hors du panneau d’extension",
         x11Presses_ ? "XInput2 (boutons bruts)" : "ceux de l’application seulement"},
        {"pointeur et défilement (Tortue)", ComposedText(pointerInput_.description())},
        {"voiles de Buée", fogChoice()},
        {"pointeur de la Buée",
         x11Pointer_ ? "position X11 et mouvements bruts XInput2" : "celui de la Tortue"},
        {"écran d’attente du Délai",
         &delayPanels_ == &simulatedDelayPanels_ ? "simulé" : "fenêtres Qt"},
        {"veille, déverrouillage et session",
         logind_ ? "logind (" + ComposedText(logind_->sessionPath()) + ")"
                 : "simulés : pas de bus système ou pas de session logind"},
        {"changements d’écrans",
         systemEvents_.followsRandr() ? "RandR" : "simulés : pas d’extension RandR"},
        {"services utilisateur",
         userServices_.isRunning()
             ? "systemd --user"
             : "aucun gestionnaire (pas de systemd --user) : OlvaneWatchdog en processus détaché"},
        {"démarrage à la connexion", "entrée XDG autostart"},
        {"corbeille", userData(paths_.trashFolder().string())},
        {"extension Safari", "absente : Safari n’existe pas sous Linux"},
    };
    for (const auto& [seam, choice] : choices) {
        log.info("Plate-forme — %{public}s : %s", seam, choice);
    }
    if (!files_.valid()) {
        log.logError(
            "Surveillance des fichiers indisponible : les commandes des navigateurs ne "
            "seront pas vues");
    }
    logDefaultsProblem();
}

void LinuxPlatform::logDefaultsProblem() const {
    const auto& report = defaults_.openReport();
    if (report.leftUntouched) {
        Logger::settings().logError(
            "Préférences illisibles, laissées telles quelles : réglages par défaut pour cette "
            "session, rien n’y sera enregistré",
            report.problem);
    } else if (!report.setAside.empty()) {
        Logger::settings().logError("Préférences illisibles, mises de côté dans " +
                                        defaults_.describePlace(report.setAside),
                                    report.problem);
    }
}

PlatformBackends LinuxPlatform::backends() {
    return PlatformBackends{.loop = loop_,
                            .clock = clock_,
                            .paths = paths_,
                            .files = files_,
                            .defaults = defaults_,
                            .display = display(),
                            .grayscaleSwitch = desktopGrayscale_.grayscaleSwitch(),
                            .accessibilityTrust = accessibilityTrust_,
                            .keys = keys(),
                            .workspace = workspace(),
                            .windowServer = windowServer(),
                            .eventTap = pointerInput_.eventTap(),
                            .eventTapTrust = pointerInput_.trust(),
                            .fogWindows = fogWindows_,
                            .pointer = pointer(),
                            .frameClock = frameClock_,
                            .delayPanels = delayPanels_,
                            .systemEvents = systemEvents_,
                            .userServices = userServices_,
                            .detachedProcesses = detachedProcesses_,
                            .loginItems = loginItems_,
                            .trash = trash_,
                            .safariExtensions = safariExtensions_,
                            .watchdogExecutable = watchdogExecutable_,
                            .hostExecutable = hostExecutable_,
                            .bundle = bundle_,
                            .logChoices = [this] { logChoices(); }};
}

}  // namespace olvane
