#pragma once

#include <QString>

namespace olvane::ui {

// The texts of the spacing-debug drawing and when each is shown. Values are shown as whole
// numbers, the fraction dropped.
class DebugLabels {
  public:
    // "pageMarginTop = 32px".
    static QString spacing(const QString& name, double value);
    // A vertical spacing names itself from 16 points, a horizontal one from 24.
    static bool showsSpacingLabel(double value, bool horizontal);
    // "Title: 320×38".
    static QString dimension(const QString& label, double width, double height);
    // "↑12" for a top inset of 12 (arrows ↑ ↓ ← → for top, bottom, leading, trailing).
    static QString padding(QChar arrow, double inset);
    // A band is drawn only for an inset above 0, and carries its text only when both its sides
    // are at least 12 points.
    static bool drawsPaddingBand(double inset);
    static bool showsPaddingText(double bandWidth, double bandHeight);

    // The whole number shown for a value: truncated towards zero, whatever its size.
    static QString wholeNumber(double value);
};

}  // namespace olvane::ui
