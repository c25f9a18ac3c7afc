#include "ui/foundation/LogoOlvane.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

// Draws the logo at the size asked when asked: nothing is drawn before a window shows the icon.
class LogoIconEngine final : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        LogoOlvane::paint(*painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return LogoOlvane::pixmap(std::max(1, std::min(size.width(), size.height())));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
            sizes.append(QSize(side, side));
        }
        return sizes;
    }
    QIconEngine* clone() const override { return new LogoIconEngine; }
};

}  // namespace

void LogoOlvane::paint(QPainter& painter, const QRectF& rect) {
    const qreal side = std::min(rect.width(), rect.height());
    const QRectF square(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(RoundedShape::continuous(square, side * 0.225), Theme::black());

    // The ring opens at the upper right, where its dot sits: the circle of the O, and one thing
    // set apart from it.
    const QPointF centre = square.center();
    const qreal radius = side * 0.25;
    const qreal stroke = side * 0.095;
    QPen pen(Theme::white(), stroke);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF ring(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2);
    constexpr qreal kDotAngle = 45.0;
    constexpr qreal kGap = 62.0;
    painter.drawArc(ring, qRound((kDotAngle + kGap / 2) * 16), qRound((360.0 - kGap) * 16));

    const qreal a = qDegreesToRadians(kDotAngle);
    const QPointF dot(centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::white());
    painter.drawEllipse(dot, stroke * 0.62, stroke * 0.62);
    painter.restore();
}

QPixmap LogoOlvane::pixmap(int side, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter, QRectF(0, 0, side, side));
    return pixmap;
}

QIcon LogoOlvane::icon() {
    return QIcon(new LogoIconEngine);
}

}  // namespace olvane::ui
