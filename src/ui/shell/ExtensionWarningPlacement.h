#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace olvane::ui {

// Where the extension warning panel goes, in global coordinates.
class ExtensionWarningPlacement {
  public:
    // Centred 4 points below the status icon, kept 8 points inside the visible frame sideways
    // (the right bound wins when the panel is wider than the room); above the icon when the
    // tray sits at the bottom of the screen. Without the icon's place, the top-right corner of
    // `visibleFrame`.
    static QPoint origin(const std::optional<QRect>& statusIcon, QSize panel,
                         const QRect& visibleFrame);
};

}  // namespace olvane::ui
