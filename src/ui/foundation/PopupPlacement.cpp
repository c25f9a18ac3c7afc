#include "ui/foundation/PopupPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace olvane::ui {

QPoint PopupPlacement::below(const QRect& anchor, const QSize& size, const QRect& screen) {
    int x = anchor.left() + anchor.width() / 2 - size.width() / 2;
    x = std::clamp(
        x, screen.left() + kScreenMargin,
        std::max(screen.left() + kScreenMargin, screen.right() + 1 - kScreenMargin - size.width()));
    int y = anchor.bottom() + 1 + kGap;
    if (y + size.height() > screen.bottom() + 1 &&
        anchor.top() - kGap - size.height() >= screen.top()) {
        y = anchor.top() - kGap - size.height();
    }
    return {x, y};
}

QRect PopupPlacement::screenArea(const QRect& anchor) {
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect(anchor.topLeft(), QSize(1, 1));
}

}  // namespace olvane::ui
