#include "ui/foundation/ProgressSpinner.h"

#include <QPainter>
#include <cmath>

#include "ui/foundation/Theme.h"

namespace olvane::ui {

ProgressSpinner::ProgressSpinner(qreal side, QColor color, QWidget* parent)
    : QWidget(parent), color_(color) {
    const int pixels = static_cast<int>(std::ceil(side));
    setFixedSize(pixels, pixels);
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kSpokes;
        update();
    });
}

void ProgressSpinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    timer_.start();
}

void ProgressSpinner::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}

void ProgressSpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal inner = side * 0.22;
    const qreal outer = side * 0.48;
    QPen pen(color_, side * 0.085, Qt::SolidLine, Qt::RoundCap);
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
        // The leading spoke is opaque; the ones behind it fade.
        const int behind = (step_ - spoke + kSpokes) % kSpokes;
        pen.setColor(Theme::withOpacity(color_, 1.0 - 0.75 * behind / (kSpokes - 1)));
        painter.setPen(pen);
        const qreal angle = 2 * M_PI * spoke / kSpokes - M_PI / 2;
        painter.drawLine(QPointF(std::cos(angle) * inner, std::sin(angle) * inner),
                         QPointF(std::cos(angle) * outer, std::sin(angle) * outer));
    }
}

}  // namespace olvane::ui
