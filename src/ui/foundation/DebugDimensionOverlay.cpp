#include "ui/foundation/DebugDimensionOverlay.h"

#include <QPainter>

#include "ui/foundation/DebugLabels.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kOutlineRadius = 2;
constexpr qreal kOffset = 2;
constexpr qreal kPaddingH = 3;
constexpr qreal kPaddingV = 1;
constexpr qreal kFontSize = 9;
constexpr qreal kBackgroundOpacity = 0.85;

}  // namespace

DebugDimensionOverlay::DebugDimensionOverlay(QWidget* content, const QString& label,
                                             DebugColor color)
    : OverlayLayer(content), label_(label), color_(color) {
    setObjectName(QStringLiteral("debug:") + label);
}

QString DebugDimensionOverlay::text() const {
    return DebugLabels::dimension(label_, width(), height());
}

void DebugDimensionOverlay::paintEvent(QPaintEvent*) {
    if (!SpacingDebugManager::overlaysVisible()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = debugColor(color_);
    painter.setPen(QPen(color, 1));
    painter.drawPath(
        RoundedShape::continuous(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kOutlineRadius));

    const QFont font = Theme::monospacedFont(kFontSize, FontWeight::bold);
    const QFontMetricsF metrics(font);
    const QString label = text();
    const QRectF tag(kOffset, kOffset, metrics.horizontalAdvance(label) + 2 * kPaddingH,
                     metrics.height() + 2 * kPaddingV);
    painter.fillPath(RoundedShape::continuous(tag, kOutlineRadius),
                     Theme::withOpacity(Theme::white(), kBackgroundOpacity));
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(tag, Qt::AlignCenter, label);
}

DebugDimensionOverlay* debugOverlay(QWidget* content, const QString& name, DebugColor color) {
    return new DebugDimensionOverlay(content, name, color);
}

}  // namespace olvane::ui
