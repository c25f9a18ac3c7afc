#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>

#include "model/BrowserType.h"
#include "platform/PointerPresses.h"

class QWindow;
class QWidget;

namespace olvane::ui {

class EventMonitor;
class ExtensionWarningView;

// Shows the extension warning in a small floating panel under the status icon, which does not
// take the focus from the application in front until the user clicks in it. A click anywhere
// else (in another application too) closes it as a dismissal, and still reaches its target; a
// click on the status icon is left to the icon's own action.
class ExtensionWarningPanelController final : public QObject {
    Q_OBJECT

  public:
    struct Actions {
        std::function<void()> onManage;
        std::function<void()> onDismiss;
    };
    // The status icon's place on screen; absent when the tray does not tell.
    using StatusIconArea = std::function<std::optional<QRect>()>;

    ExtensionWarningPanelController(StatusIconArea statusIcon,
                                    platform::PointerPresses* sessionPresses, Actions actions);
    ~ExtensionWarningPanelController() override;

    // Replaces any panel shown (without a dismissal) by one for `browser`.
    void show(BrowserType browser);
    // Closes the panel and its click monitor; reports a dismissal when asked.
    void hide(bool notifyDismiss);

    QWidget* panel() const { return panel_; }
    ExtensionWarningView* content() const;
    // The outside-click rule, for a press in `window` (null: another application).
    void handleMouseDown(QWindow* window, QPoint globalPosition);

  private:
    void place();

    StatusIconArea statusIcon_;
    platform::PointerPresses* sessionPresses_;
    Actions actions_;
    QPointer<QWidget> panel_;
    std::unique_ptr<EventMonitor> outsideClickMonitor_;
};

}  // namespace olvane::ui
