#pragma once

#include <QRect>
#include <QWidget>

namespace olvane::ui {

// The frameless panel under the status icon. It holds no grab on the pointer: the status item's
// outside-click rule closes it, and the click that closed it still reaches its target.
class MenuPopover final : public QWidget {
    Q_OBJECT

  public:
    explicit MenuPopover(QWidget* content);

    // Shows the popover below `anchor` (global coordinates; above it when the icon sits at the
    // bottom of the screen), kept inside the screen.
    void showUnder(const QRect& anchor);

    static QPoint placement(const QRect& anchor, const QSize& size, const QRect& screen);

  Q_SIGNALS:
    void closed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace olvane::ui
