#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "app/AppState.h"
#include "app/MenuBarPresence.h"

class QSystemTrayIcon;

namespace olvane::ui {

class MenuPopover;
class MenuBarStatusView;

// The application's presence in the menu bar (the system tray here): an icon whose click
// toggles a small popover with "Ouvrir Olvane", the extension status and "Quitter".
class StatusItemController : public QObject, public MenuBarPresence {
    Q_OBJECT

  public:
    struct Actions {
        std::function<void()> showMainWindow;
        std::function<void()> quit;
    };

    StatusItemController(AppState& appState, Actions actions);
    ~StatusItemController() override;

    // Creates the icon and the popover, once. Without a system tray there is neither; the
    // application runs on without them.
    void setupMenuBar() override;
    // The application's icon drawn at 16 × 16, in its own colours; no image without one.
    void updateStatusItemIcon() override;
    // The extension warning panel hangs under the icon once the browser prompts exist; until
    // then there is none to hide.
    void hideExtensionWarning() override {}
    // The icon's action: shows the popover below the icon, or closes it.
    void toggleMenuPopover();

    QSystemTrayIcon* statusItem() const { return statusItem_.get(); }
    MenuPopover* menuPopover() const { return popover_.get(); }
    MenuBarStatusView* popoverContent() const { return content_; }
    bool isPopoverShown() const;

  protected:
    // Whether the desktop offers a system tray (overridden by tests, where none runs).
    virtual bool systemTrayAvailable() const;

  private:
    void closePopoverThen(const std::function<void()>& action);

    AppState& appState_;
    Actions actions_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
    std::unique_ptr<MenuPopover> popover_;
    MenuBarStatusView* content_ = nullptr;
};

}  // namespace olvane::ui
