#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>

#include "app/AppState.h"
#include "app/MenuBarPresence.h"
#include "platform/PointerPresses.h"
#include "platform/SystemTray.h"

class QSystemTrayIcon;
class QWindow;

namespace olvane {
class ExtensionAccompanimentCoordinator;
}

namespace olvane::ui {

class EventMonitor;
class ExtensionWarningPanelController;

class MenuPopover;
class MenuBarStatusView;

// The application's presence in the menu bar (the system tray here): an icon whose click
// toggles a small popover with "Ouvrir Olvane", the extension status and "Quitter", and under
// which the extension warning panel hangs.
class StatusItemController : public QObject, public MenuBarPresence {
    Q_OBJECT

  public:
    struct Actions {
        std::function<void()> showMainWindow;
        std::function<void()> quit;
    };

    StatusItemController(AppState& appState, platform::SystemTray& tray, Actions actions);
    ~StatusItemController() override;

    // The extension prompts whose warnings the panel shows, and the session's mouse-downs that
    // close it (null: only this application's); before setupMenuBar().
    void attachExtensionPrompts(ExtensionAccompanimentCoordinator& coordinator,
                                platform::PointerPresses* sessionPresses);

    // Creates the warning panel's controller, the icon and the popover, once. Without a tray the
    // icon and its popover come when one does; the warning panel shows all the same.
    void setupMenuBar() override;
    // The application's icon drawn at 16 × 16, in its own colours; no image without one.
    void updateStatusItemIcon() override;
    void hideExtensionWarning() override;
    // The icon's action: hides the warning panel and forgets the pending warnings, then shows
    // the popover below the icon, or closes it.
    void toggleMenuPopover();

    QSystemTrayIcon* statusItem() const { return statusItem_.get(); }
    MenuPopover* menuPopover() const { return popover_.get(); }
    MenuBarStatusView* popoverContent() const { return content_; }
    ExtensionWarningPanelController* extensionWarningController() const {
        return extensionWarning_.get();
    }
    // Where the icon is; absent when the tray does not tell.
    std::optional<QRect> statusIconArea() const;
    bool isPopoverShown() const;
    // The outside-click rule, given a mouse-down in `window` (null: another application's): a
    // press on the icon is left to its toggle, one in the popover to the popover; any other closes
    // it, and goes on to its target.
    void handlePopoverMouseDown(QWindow* window, QPoint globalPosition);

  private:
    void createStatusItem();
    void closePopoverThen(const std::function<void()>& action);
    void setupExtensionWarning();

    AppState& appState_;
    platform::SystemTray& tray_;
    Actions actions_;
    bool setUp_ = false;
    platform::Handle trayArrival_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
    // Runs only while the popover is shown; outlives the popover, whose closing stops it.
    std::unique_ptr<EventMonitor> popoverEventMonitor_;
    std::unique_ptr<MenuPopover> popover_;
    MenuBarStatusView* content_ = nullptr;
    ExtensionAccompanimentCoordinator* coordinator_ = nullptr;
    platform::PointerPresses* sessionPresses_ = nullptr;
    std::unique_ptr<ExtensionWarningPanelController> extensionWarning_;
};

}  // namespace olvane::ui
