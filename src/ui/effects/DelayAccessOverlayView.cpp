#include "ui/effects/DelayAccessOverlayView.h"

#include <QPainter>
#include <algorithm>
#include <utility>

#include "friction/DelayTime.h"
#include "ui/effects/DelayButton.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/TabularDigits.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kMargin = 32;
constexpr qreal kTopShare = 0.2;
constexpr qreal kTimeGap = 8;
constexpr qreal kSubtitleGap = 40;
constexpr int kButtonGap = 16;
constexpr qreal kBrandBottom = 48;
constexpr qreal kBrandGap = 12;
constexpr qreal kLogoSide = 36;
constexpr int kTransitionMs = 300;

QFont timeFont() {
    return Theme::font(64, FontWeight::semibold);
}
QFont subtitleFont() {
    return Theme::font(16, FontWeight::medium);
}
QFont brandFont() {
    return Theme::font(28, FontWeight::medium);
}

// Digits all take the width of the widest, so the time does not shift as it counts down.
void drawTabular(QPainter& painter, const QString& text, qreal centreX, qreal baseline) {
    const qreal width = TabularDigits::width(text, QFontMetricsF(painter.font()));
    TabularDigits::draw(painter, text, QPointF(centreX - width / 2, baseline));
}

}  // namespace

DelayAccessOverlayView::DelayAccessOverlayView(DelayPanelState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      close_(new DelayButton(QStringLiteral("Fermer l'application"), DelayButton::Style::filled,
                             this)),
      continue_(new DelayButton(QStringLiteral("Continuer"), DelayButton::Style::outlined, this)) {
    setObjectName(QStringLiteral("delayOverlay"));
    shownTime_ = timeText();
    continue_->setVisible(state_.offersContinue());
    transition_.setDuration(kTransitionMs);
    transition_.setEasingCurve(QEasingCurve::InOutQuad);
    transition_.setStartValue(0.0);
    transition_.setEndValue(1.0);
    connect(&transition_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        progress_ = value.toReal();
        if (continue_->isVisible()) {
            continue_->setAppearance(progress_);
        }
        update();
    });
    // Queued: the action closes the panels, this view among them.
    connect(close_, &QAbstractButton::clicked, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { state_.pressClose(); }, Qt::QueuedConnection);
    });
    connect(continue_, &QAbstractButton::clicked, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { state_.pressContinue(); }, Qt::QueuedConnection);
    });
    observation_ = state_.remainingSeconds.observe([this](const auto&) { timeChanged(); });
}

DelayAccessOverlayView::~DelayAccessOverlayView() = default;

QString DelayAccessOverlayView::timeText() const {
    return QString::fromStdString(delayTimeText(state_.remainingSeconds()));
}

QString DelayAccessOverlayView::subtitle() const {
    return QStringLiteral("avant l'accès à ") + QString::fromStdString(state_.targetName);
}

void DelayAccessOverlayView::timeChanged() {
    previousTime_ = std::exchange(shownTime_, timeText());
    const bool offers = state_.offersContinue();
    if (offers != continue_->isVisible()) {
        continue_->setAppearance(0);
        continue_->setVisible(offers);
    }
    transition_.stop();
    progress_ = 0;
    Animations::start(transition_);
    layoutButtons();
    update();
}

qreal DelayAccessOverlayView::columnTop() const {
    return kMargin + kTopShare * height();
}

void DelayAccessOverlayView::layoutButtons() {
    const qreal timeHeight = QFontMetricsF(timeFont()).height();
    const qreal subtitleHeight = QFontMetricsF(subtitleFont()).height();
    int y = static_cast<int>(columnTop() + timeHeight + kTimeGap + subtitleHeight + kSubtitleGap);
    for (auto* button : {close_, continue_}) {
        const QSize size = button->sizeHint();
        button->setGeometry((width() - size.width()) / 2, y, size.width(), size.height());
        y += size.height() + kButtonGap;
    }
}

void DelayAccessOverlayView::resizeEvent(QResizeEvent*) {
    layoutButtons();
}

void DelayAccessOverlayView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (state_.cornerRadius > 0) {
        painter.fillPath(RoundedShape::continuous(rect(), state_.cornerRadius), Theme::white());
    } else {
        painter.fillRect(rect(), Theme::white());
    }
    const qreal top = columnTop();
    paintTime(painter, top);

    painter.setFont(subtitleFont());
    const QFontMetricsF subtitleMetrics(painter.font());
    const qreal subtitleTop = top + QFontMetricsF(timeFont()).height() + kTimeGap;
    const QString text = subtitleMetrics.elidedText(subtitle(), Qt::ElideRight,
                                                    std::max<qreal>(0, width() - 2 * kMargin));
    painter.drawText(QRectF(0, subtitleTop, width(), subtitleMetrics.height()), Qt::AlignCenter,
                     text);
    paintBrand(painter);
}

void DelayAccessOverlayView::paintTime(QPainter& painter, qreal top) {
    painter.setFont(timeFont());
    const qreal baseline = top + QFontMetricsF(painter.font()).ascent();
    const qreal centre = width() / 2.0;
    if (progress_ < 1) {
        painter.setOpacity(1 - progress_);
        painter.setPen(Theme::black());
        drawTabular(painter, previousTime_, centre, baseline);
    }
    painter.setOpacity(progress_);
    painter.setPen(Theme::black());
    drawTabular(painter, shownTime_, centre, baseline);
    painter.setOpacity(1);
}

void DelayAccessOverlayView::paintBrand(QPainter& painter) {
    painter.setFont(brandFont());
    const QFontMetricsF metrics(painter.font());
    const QString name = QStringLiteral("Olvane");
    const qreal rowHeight = std::max(kLogoSide, metrics.height());
    const qreal rowWidth = kLogoSide + kBrandGap + metrics.horizontalAdvance(name);
    const qreal left = (width() - rowWidth) / 2;
    const qreal rowTop = height() - kBrandBottom - rowHeight;
    LogoOlvane::paint(painter,
                      QRectF(left, rowTop + (rowHeight - kLogoSide) / 2, kLogoSide, kLogoSide));
    painter.setPen(Theme::black());
    painter.drawText(QRectF(left + kLogoSide + kBrandGap, rowTop, rowWidth, rowHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
}

}  // namespace olvane::ui
