#include "ui/effects/FogOverlayView.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/effects/FogShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

FogOverlayView::FogOverlayView(FogEffectState& state, bool translucent, QWidget* parent)
    : QWidget(parent), state_(state), translucent_(translucent) {
    setObjectName(QStringLiteral("fogOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (translucent_) {
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    trailObservation_ = state_.observeTrail([this] { stateChanged(); });
    radiusObservation_ = state_.clearRadius.observe([this](const auto&) { stateChanged(); });
    opacityObservation_ = state_.fogOpacity.observe([this](const auto&) { stateChanged(); });
}

FogOverlayView::~FogOverlayView() = default;

void FogOverlayView::stateChanged() {
    if (translucent_) {
        update(renderer_.render(size(), devicePixelRatioF(), state_.fogOpacity(),
                                state_.clearRadius(), state_.trail()));
        return;
    }
    QRegion shape = fogShapeWithHoles(size(), state_.clearRadius(), state_.trail());
    if (shape != shape_) {
        shape_ = shape;
        applyShape();
    }
}

void FogOverlayView::leaveOut(const QRegion& covered) {
    if (covered != covered_) {
        covered_ = covered;
        applyShape();
    }
}

void FogOverlayView::applyShape() {
    const QRegion whole = translucent_ ? QRegion(rect()) : shape_;
    if (covered_.isEmpty() && translucent_) {
        clearMask();
    } else {
        const QRegion shown = whole.subtracted(covered_);
        // An empty mask is none at all: a pixel outside the window shows nothing.
        setMask(shown.isEmpty() ? QRegion(-1, -1, 1, 1) : shown);
    }
    Q_EMIT shapeChanged();
}

void FogOverlayView::resizeEvent(QResizeEvent*) {
    stateChanged();
    if (translucent_ && !covered_.isEmpty()) {
        applyShape();
    }
    update();
}

void FogOverlayView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!translucent_) {
        painter.fillRect(event->rect(), Theme::white());
        return;
    }
    renderer_.paint(painter, event->region());
}

}  // namespace olvane::ui
