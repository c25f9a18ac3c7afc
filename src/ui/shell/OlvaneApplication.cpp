#include "ui/shell/OlvaneApplication.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/AppServices.h"
#include "app/AppState.h"
#include "app/LinuxPlatform.h"
#include "model/Logger.h"
#include "platform/Paths.h"
#include "platform/linux/BusConnection.h"
#include "platform/linux/ProgramLogSinks.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/XkbKeyboardLayout.h"
#include "ui/effects/QtDelayPanels.h"
#include "ui/effects/QtDevicePixels.h"
#include "ui/effects/QtFogWindows.h"
#include "ui/effects/X11EffectWindows.h"
#include "ui/foundation/FontLibrary.h"
#include "ui/foundation/IconSources.h"
#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/QtRunLoop.h"
#include "ui/shell/AfterFirstFrame.h"
#include "ui/shell/ApplicationLifecycle.h"
#include "ui/shell/ApplicationPageFactory.h"
#include "ui/shell/ApplicationShell.h"
#include "ui/shell/DisplayLossShutdown.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/SingleInstance.h"
#include "ui/shell/StatusItemController.h"
#include "ui/shell/TerminationSignals.h"

namespace olvane::ui {
namespace {

void configureLogging() {
    Logger::setApplicationIdentifier(platform::Paths::kApplicationId);
    platform::os::addProgramLogSinks("OlvaneMac");
}

// The desktop back-ends speak X11: under a Wayland session the application joins XWayland, so
// that its own windows are seen the way the others are.
void preferXcbUnderWayland() {
    const char* sessionType = std::getenv("XDG_SESSION_TYPE");
    const bool wayland = std::getenv("WAYLAND_DISPLAY") ||
                         (sessionType && std::string_view(sessionType) == "wayland");
    if (wayland && !std::getenv("QT_QPA_PLATFORM") && std::getenv("DISPLAY")) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
}

// Qt's own connection to the session bus (for the tray, for accessibility) waits without end
// for a bus that takes no connection on, a bus daemon stopped or hung: the window would never
// come. When the bus is silent at the start, the run does without it, Qt and ours alike.
void doWithoutASilentSessionBus() {
    if (platform::os::probeSessionBus() != platform::os::SessionBusAnswer::silent) {
        return;
    }
    Logger::app().error(
        "Bus de session muet : OlvaneMac démarre sans lui (zone de notification D-Bus, "
        "accessibilité, réglages du bureau)");
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/olvane-bus-de-session-muet", 1);
}

// Qt would abort with a message in English when the X server it is to use does not answer (no
// DISPLAY, a session gone): the run says so in French and ends with an error instead. The
// connection that asks is held until Qt has its own: an X server whose only client leaves
// resets, and drops a connection that arrives meanwhile (a bare Xvfb, a first client).
struct X11DisplayCheck {
    bool asked = false;
    std::unique_ptr<platform::os::X11Connection> connection;

    bool missing() const { return asked && !connection; }
};

X11DisplayCheck checkX11Display() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform ? std::string_view(platform) != "xcb"
                 : std::getenv("WAYLAND_DISPLAY") != nullptr) {
        return {};
    }
    return {true, platform::os::X11Connection::open()};
}

void configureApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("OlvaneMac"));
    QApplication::setApplicationDisplayName(QStringLiteral("Olvane"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(platform::Paths::kApplicationId));
    // Closing the window leaves the application in the menu bar.
    app.setQuitOnLastWindowClosed(false);
    // Small sizes only until the first frame is out: the large ones take longest to draw, and
    // the window manager shows the small ones from the first map.
    QIcon firstIcon;
    for (const int side : {16, 32}) {
        firstIcon.addPixmap(LogoOlvane::pixmap(side));
    }
    QApplication::setWindowIcon(firstIcon);
    // The same plain widgets whatever the desktop's theme: the pages draw their own look.
    if (auto* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
}

// The window the fog test covers: the main window, else the first visible one of ours.
std::optional<OwnWindow> ownWindow(ApplicationShell& shell, X11EffectWindows* x11) {
    QWidget* window = &shell.mainWindow();
    if (!window->isVisible()) {
        window = nullptr;
        for (QWidget* candidate : QApplication::topLevelWidgets()) {
            const bool effect = candidate->objectName() == QStringLiteral("fogOverlay") ||
                                candidate->objectName() == QStringLiteral("delayOverlay");
            if (candidate->isVisible() && candidate->isWindow() && !effect) {
                window = candidate;
                break;
            }
        }
    }
    if (!window) {
        return std::nullopt;
    }
    // Qt's whole logical pixels miss an odd device pixel at 200 %: the server knows better.
    const auto frame = x11 ? x11->frameOf(*window) : std::nullopt;
    return OwnWindow{static_cast<std::int64_t>(window->winId()),
                     frame.value_or(deviceFrame(*window))};
}

class DelegateLifecycle final : public ApplicationLifecycle {
  public:
    explicit DelegateLifecycle(AppDelegate& delegate) : delegate_(delegate) {}

    void performStartup() override { delegate_.performStartup(); }
    void performShutdown() override { delegate_.performShutdown(); }
    void performShutdownWithoutDisplay() override { delegate_.performShutdownWithoutDisplay(); }

  private:
    AppDelegate& delegate_;
};

}  // namespace

int runOlvaneApplication(int argc, char** argv) {
    configureLogging();
    // The run's first line, before anything that may log: the lock, the fonts, the back-ends.
    Logger::app().info("=== OlvaneMac démarrage ===");
    SingleInstance instance(platform::Paths::fromProcessEnvironment().runtimeFolder());
    if (instance.role() == SingleInstance::Role::secondary) {
        Logger::app().notice("OlvaneMac tourne déjà : sa fenêtre est ramenée au premier plan");
        return 0;
    }
    if (instance.role() == SingleInstance::Role::unreachable) {
        // Two copies would both write the PID file and fight over the display.
        Logger::app().error(
            "OlvaneMac tourne déjà, mais il ne répond pas : cette copie s’arrête sans démarrer");
        return 1;
    }
    preferXcbUnderWayland();
    auto display = checkX11Display();
    if (display.missing()) {
        Logger::app().error(
            "Aucun écran : le serveur X (DISPLAY) ne répond pas, OlvaneMac s’arrête");
        return 1;
    }
    doWithoutASilentSessionBus();
    QApplication app(argc, argv);
    display.connection.reset();
    configureApplication(app);

    QtRunLoop loop;
    AppState appState;
    // The effects' windows, dressed for X11 when Qt draws there.
    const auto x11EffectWindows = X11EffectWindows::create(loop);
    QtFogWindows fogWindows(x11EffectWindows.get());
    QtDelayPanels delayPanels(x11EffectWindows.get());
    LinuxPlatform host(loop, platform::Paths::fromProcessEnvironment(),
                       {.fog = &fogWindows, .delayPanels = &delayPanels});
    fogWindows.setCompositorStacking(host.compositorStacking());
    ApplicationPageFactory pages(appState, loop);
    ApplicationShell shell(appState, pages, host.systemTray());
    // The applications and site icons the pages list; each source starts on first use.
    IconSources icons(loop, host.backends().clock, host.backends().paths);
    AppServices services(host.backends(), appState, shell.statusItems(),
                         [&shell] { shell.quitApp(); });
    pages.attachServices(services, icons);
    pages.setEffectWindows(x11EffectWindows.get());
    // The pause keys under the captions of the user's keyboard, when X11 tells them.
    const auto keyboard = platform::os::XkbKeyboardLayout::create(loop);
    if (keyboard) {
        pages.setKeyboardLayout(*keyboard);
    }
    services.frictionEffects().findOwnWindow = [&shell, x11 = x11EffectWindows.get()] {
        return ownWindow(shell, x11);
    };
    shell.statusItems().attachExtensionPrompts(services.extensionAccompaniment(),
                                               &host.pointerPresses());
    // Safari's state is asked again whenever one of our windows takes the keyboard.
    QObject focusWatch;  // ends the connection before the services go
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &focusWatch,
                     [&services](QWindow* window) {
                         if (window) {
                             services.notifications().post(
                                 ExtensionStatusService::kWindowDidBecomeKeyNotification);
                         }
                     });
    DelegateLifecycle lifecycle(services.delegate());

    bool shutDown = false;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] {
        if (!std::exchange(shutDown, true)) {
            pages.stopEffectTests();
            lifecycle.performShutdown();
        }
    });
    TerminationSignals signals(loop, [&shell](int) { shell.quitApp(); });
    instance.listen(loop, [&shell] { shell.showMainWindow(); });

    lifecycle.performStartup();
    // Armed once the start-up has made every logger the shutdown uses, so that they outlive it.
    const DisplayLossShutdown displayLoss([&] {
        if (!std::exchange(shutDown, true)) {
            lifecycle.performShutdownWithoutDisplay();
        }
    });
    shell.showMainWindow();
    afterFirstFrame(shell.mainWindow(), [] {
        // Every size a desktop may ask for.
        QApplication::setWindowIcon(LogoOlvane::icon());
        // The first frame loads the symbol font and reads the installed ones; only what is
        // missing is told.
        FontLibrary::registerApplicationFonts();
    });
    return app.exec();
}

}  // namespace olvane::ui
