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

    StatusItemController(AppState& appState, Actions actions);
    ~StatusItemController() override;

    // The extension prompts whose warnings the panel shows, and the session's mouse-downs that
    // close it (null: only this application's); before setupMenuBar().
    void attachExtensionPrompts(ExtensionAccompanimentCoordinator& coordinator,
                                platform::PointerPresses* sessionPresses);

    // Creates the icon, the popover and the warning panel's controller, once. Without a system tray
    // there is neither; the application runs on without them.
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

  protected:
    // Whether the desktop offers a system tray (overridden by tests, where none runs).
    virtual bool systemTrayAvailable() const;

  private:
    void closePopoverThen(const std::function<void()>& action);
    void setupExtensionWarning();

    AppState& appState_;
    Actions actions_;
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
