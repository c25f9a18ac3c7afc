#include "ui/foundation/DebugLabels.h"

#include <algorithm>
#include <cmath>

namespace olvane::ui {
namespace {

constexpr double kVerticalLabelMinimum = 16;
constexpr double kHorizontalLabelMinimum = 24;
constexpr double kPaddingTextMinimum = 12;

}  // namespace

QString DebugLabels::wholeNumber(double value) {
    if (!std::isfinite(value)) {
        return QStringLiteral("0");
    }
    // Adding 0 turns a truncated -0 into 0.
    return QString::number(std::trunc(value) + 0.0, 'f', 0);
}

QString DebugLabels::spacing(const QString& name, double value) {
    return name + QStringLiteral(" = ") + wholeNumber(value) + QStringLiteral("px");
}

bool DebugLabels::showsSpacingLabel(double value, bool horizontal) {
    return value >= (horizontal ? kHorizontalLabelMinimum : kVerticalLabelMinimum);
}

QString DebugLabels::dimension(const QString& label, double width, double height) {
    return label + QStringLiteral(": ") + wholeNumber(width) + QChar(0x00D7) + wholeNumber(height);
}

QString DebugLabels::padding(QChar arrow, double inset) {
    return QString(arrow) + wholeNumber(inset);
}

bool DebugLabels::drawsPaddingBand(double inset) {
    return inset > 0;
}

bool DebugLabels::showsPaddingText(double bandWidth, double bandHeight) {
    return std::min(bandWidth, bandHeight) >= kPaddingTextMinimum;
}

}  // namespace olvane::ui
