#include "ui/foundation/KeyCap.h"

#include <QPainter>
#include <cmath>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 8;
constexpr int kPaddingV = 4;
constexpr qreal kRadius = 4;
constexpr qreal kFontSize = 12;

QFont capFont() {
    return Theme::font(kFontSize, FontWeight::medium);
}

}  // namespace

KeyCap::KeyCap(const QString& label, QWidget* parent) : QWidget(parent), label_(label) {
    setAccessibleName(label);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize KeyCap::sizeHint() const {
    const QFontMetricsF metrics(capFont());
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(label_))) + 2 * kPaddingH,
            static_cast<int>(std::ceil(metrics.height())) + 2 * kPaddingV};
}

void KeyCap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath cap =
        RoundedShape::continuous(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius);
    painter.fillPath(cap, Theme::white());
    painter.strokePath(cap, QPen(Theme::black(), 1));
    painter.setFont(capFont());
    painter.setPen(Theme::black());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, label_);
}

}  // namespace olvane::ui
