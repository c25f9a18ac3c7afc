#include "ui/effects/QtDevicePixels.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace olvane::ui {
namespace {

// Qt keeps a screen's top left where the window server has it and divides the distances from
// there by the screen's ratio, rounding as it does.
struct ScreenScale {
    QPoint origin;
    qreal ratio = 1;

    explicit ScreenScale(const QScreen* screen) {
        if (screen) {
            origin = screen->geometry().topLeft();
            ratio = screen->devicePixelRatio();
        }
    }
    int logical(double device, int from) const { return from + qRound((device - from) / ratio); }
    double device(int logical, int from) const { return from + qRound((logical - from) * ratio); }
};

QRectF deviceGeometry(const QScreen& screen) {
    const QRect logical = screen.geometry();
    return {QPointF(logical.topLeft()), QSizeF(logical.size()) * screen.devicePixelRatio()};
}

// The screen holding the frame's centre, else the one it overlaps most, else the primary one.
const QScreen* screenHolding(const platform::Rect& frame) {
    const QRectF wanted(frame.x, frame.y, frame.width, frame.height);
    const QScreen* found = QGuiApplication::primaryScreen();
    qreal largest = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRectF area = deviceGeometry(*screen);
        if (area.contains(wanted.center())) {
            return screen;
        }
        const QRectF common = area.intersected(wanted);
        if (common.width() * common.height() > largest) {
            largest = common.width() * common.height();
            found = screen;
        }
    }
    return found;
}

}  // namespace

QRect logicalGeometry(const platform::Rect& frame) {
    const ScreenScale scale(screenHolding(frame));
    return {scale.logical(frame.x, scale.origin.x()), scale.logical(frame.y, scale.origin.y()),
            qRound(frame.width / scale.ratio), qRound(frame.height / scale.ratio)};
}

platform::Rect deviceFrame(const QWidget& window) {
    const ScreenScale scale(window.screen());
    const QRect geometry = window.geometry();
    return {scale.device(geometry.x(), scale.origin.x()),
            scale.device(geometry.y(), scale.origin.y()),
            double(qRound(geometry.width() * scale.ratio)),
            double(qRound(geometry.height() * scale.ratio))};
}

platform::Point windowPoint(const QWidget& window, const platform::Rect& frame,
                            const platform::Point& point) {
    const ScreenScale scale(window.screen());
    return {(point.x - frame.x) / scale.ratio, (point.y - frame.y) / scale.ratio};
}

}  // namespace olvane::ui
