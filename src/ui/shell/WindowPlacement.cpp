#include "ui/shell/WindowPlacement.h"

#include <algorithm>

namespace olvane::ui {

std::optional<QRect> WindowPlacement::centred(const QRect& screen, const QSize& wanted,
                                              const QSize& minimum) {
    if (screen.isEmpty()) {
        return std::nullopt;
    }
    const QSize size = wanted.boundedTo(screen.size()).expandedTo(minimum);
    const int x = screen.left() + std::max(0, (screen.width() - size.width()) / 2);
    const int y = screen.top() + std::max(0, (screen.height() - size.height()) / 2);
    return QRect(QPoint(x, y), size);
}

}  // namespace olvane::ui
