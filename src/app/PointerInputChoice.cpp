#include "app/PointerInputChoice.h"

#include "model/Logger.h"
#include "platform/linux/DesktopNotification.h"
#include "platform/linux/SessionType.h"

namespace olvane {
namespace {

void promptForInputAccess(const std::string& missing) {
    const auto explanation = inputAccessExplanation(missing);
    frictionLogger().notice("%{public}s", explanation);
    (void)platform::os::showDesktopNotification("OlvaneMac : la Tortue n’a pas accès à la souris",
                                                explanation);
}

// Logged from the guard's own thread: the loop it would log from is the one that stopped.
platform::os::EvdevStallGuarding loggedStallGuarding() {
    return {.onGivenBack = [](platform::Duration waited) {
        frictionLogger().error(
            "Tortue: l'application ne répond plus depuis %.1f s - souris rendues",
            platform::toSeconds(waited));
    }};
}

}  // namespace

std::string inputAccessExplanation(const std::string& missing) {
    return "Tortue : " + missing +
           ". Pour ralentir le pointeur, OlvaneMac doit lire les souris (/dev/input/event*) et "
           "écrire dans /dev/uinput : ajoutez votre compte au groupe « input » (sudo usermod "
           "-aG input $USER), chargez le module uinput à chaque démarrage (echo uinput | sudo "
           "tee /etc/modules-load.d/uinput.conf), donnez /dev/uinput à ce groupe par une règle "
           "udev (KERNEL==\"uinput\", GROUP=\"input\", MODE=\"0660\" dans "
           "/etc/udev/rules.d/60-olvanemac-uinput.rules), puis reconnectez-vous.";
}

PointerInputChoice::PointerInputChoice(platform::RunLoop& loop,
                                       platform::os::InputDevicePlaces places)
    : places_(std::move(places)),
      inputAccess_([this] { return platform::os::missingInputAccess(places_); },
                   promptForInputAccess) {
    const auto missing = platform::os::missingInputAccess(places_);
    if (missing.empty()) {
        evdev_ = std::make_unique<platform::os::EvdevEventTap>(
            loop, platform::os::X11Pointer::create(loop), places_, loggedStallGuarding());
        description_ = "souris saisies par evdev, mouvement rejoué par uinput";
        return;
    }
    const bool wayland = platform::os::isWaylandSession();
    if (!wayland) {
        x11_ = platform::os::X11EventTap::create(loop);
    }
    if (x11_) {
        description_ =
            "XInput2, pointeur ramené par X11 : les mouvements ne peuvent pas être "
            "avalés et le défilement n’est pas ralenti (evdev et uinput : " +
            missing + ")";
    } else if (wayland) {
        evdev_ = std::make_unique<platform::os::EvdevEventTap>(
            loop, platform::os::X11Pointer::create(loop), places_, loggedStallGuarding());
        description_ = "evdev et uinput, inaccessibles pour l’instant : " + missing;
    } else {
        description_ = "simulés : " + missing + ", et pas de serveur X avec XInput 2.2";
    }
}

platform::EventTap& PointerInputChoice::eventTap() {
    if (evdev_) {
        return *evdev_;
    }
    if (x11_) {
        return *x11_;
    }
    return simulated_;
}

platform::AccessibilityTrust& PointerInputChoice::trust() {
    if (evdev_) {
        return inputAccess_;
    }
    return granted_;
}

}  // namespace olvane
