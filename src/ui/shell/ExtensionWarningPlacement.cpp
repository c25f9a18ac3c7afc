#include "ui/shell/ExtensionWarningPlacement.h"

#include <algorithm>

#include "ui/foundation/PopupPlacement.h"

namespace olvane::ui {

QPoint ExtensionWarningPlacement::origin(const std::optional<QRect>& statusIcon, QSize panel,
                                         const QRect& visibleFrame) {
    const int rightmost =
        visibleFrame.x() + visibleFrame.width() - panel.width() - PopupPlacement::kScreenMargin;
    if (!statusIcon) {
        return {rightmost, visibleFrame.y() + PopupPlacement::kGap};
    }
    QPoint origin = PopupPlacement::below(*statusIcon, panel, visibleFrame);
    // On a screen narrower than the panel, its right edge stays inside.
    origin.setX(std::min(origin.x(), rightmost));
    return origin;
}

}  // namespace olvane::ui
