#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

namespace olvane::ui {

// The frameless popup under the status icon. As a popup it closes on any click outside it, in
// this application or another; a click on the status icon itself is left to the icon's toggle.
class MenuPopover final : public QWidget {
    Q_OBJECT

  public:
    explicit MenuPopover(QWidget* content);

    // Shows the popover below `anchor` (global coordinates; above it when the icon sits at the
    // bottom of the screen), kept inside the screen.
    void showUnder(const QRect& anchor);
    // Where the status icon is, so that a click there is not taken as an outside click.
    void setStatusIconArea(const QRect& area) { statusIconArea_ = area; }

    static QPoint placement(const QRect& anchor, const QSize& size, const QRect& screen);

    // True, once, right after a press on the status icon closed the popover: the icon's own
    // click, which arrives next, must leave it closed rather than open it again.
    bool consumeCloseByIconPress();

  Q_SIGNALS:
    void closed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    static constexpr qint64 kIconClickWindowMs = 500;

    QRect statusIconArea_;
    QElapsedTimer closedByIconPress_;
};

}  // namespace olvane::ui
