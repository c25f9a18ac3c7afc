#include "ui/foundation/DebugSpacingIndicator.h"

#include <QPainter>
#include <cmath>

#include "ui/foundation/DebugColor.h"
#include "ui/foundation/DebugLabels.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kFillOpacity = 0.3;
constexpr qreal kTagOpacity = 0.9;

struct LabelStyle {
    qreal fontSize;
    qreal paddingH;
    qreal paddingV;
    qreal radius;
};

LabelStyle styleFor(Qt::Orientation orientation) {
    return orientation == Qt::Vertical ? LabelStyle{10, 4, 2, 4} : LabelStyle{9, 3, 2, 3};
}

}  // namespace

DebugSpacingIndicator::DebugSpacingIndicator(const QString& name, qreal value,
                                             Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), name_(name), value_(value), orientation_(orientation) {
    setObjectName(QStringLiteral("spacing:") + name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (orientation == Qt::Vertical) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setMinimumWidth(0);
    } else {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        setMinimumHeight(0);
    }
    setValue(value);
}

void DebugSpacingIndicator::setValue(qreal value) {
    value_ = value;
    if (orientation_ == Qt::Vertical) {
        setFixedHeight(qRound(value));
    } else {
        setFixedWidth(qRound(value));
    }
    update();
}

QString DebugSpacingIndicator::label() const {
    if (!DebugLabels::showsSpacingLabel(value_, orientation_ == Qt::Horizontal)) {
        return {};
    }
    return DebugLabels::spacing(name_, value_);
}

void DebugSpacingIndicator::paintEvent(QPaintEvent*) {
    if (!SpacingDebugManager::overlaysVisible()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const DebugColor name = orientation_ == Qt::Vertical ? DebugColor::red : DebugColor::blue;
    const QColor color = debugColor(name);
    painter.fillRect(rect(), debugColor(name, kFillOpacity));
    // The two ends of the ruler.
    if (orientation_ == Qt::Vertical) {
        painter.fillRect(QRectF(0, 0, width(), 1), color);
        painter.fillRect(QRectF(0, height() - 1, width(), 1), color);
    } else {
        painter.fillRect(QRectF(0, 0, 1, height()), color);
        painter.fillRect(QRectF(width() - 1, 0, 1, height()), color);
    }
    paintLabel(painter, color);
}

void DebugSpacingIndicator::paintLabel(QPainter& painter, const QColor& color) const {
    const QString text = label();
    if (text.isEmpty()) {
        return;
    }
    const LabelStyle style = styleFor(orientation_);
    const QFont font = Theme::font(style.fontSize, FontWeight::bold);
    const QFontMetricsF metrics(font);
    const QSizeF tag(metrics.horizontalAdvance(text) + 2 * style.paddingH,
                     metrics.height() + 2 * style.paddingV);
    painter.save();
    painter.translate(QRectF(rect()).center());
    if (orientation_ == Qt::Horizontal) {
        painter.rotate(-90);  // read from bottom to top, at its own size
    }
    const QRectF box(-tag.width() / 2, -tag.height() / 2, tag.width(), tag.height());
    painter.fillPath(RoundedShape::continuous(box, style.radius),
                     Theme::withOpacity(Theme::white(), kTagOpacity));
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace olvane::ui
