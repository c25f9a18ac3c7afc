#include "ui/configurateur/ConfiguratorProgressBar.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/configurateur/ConfiguratorProgress.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kIndicatorSpacing = 6;
constexpr int kCaptionSpacing = 8;
constexpr qreal kIndicatorRadius = 4;
constexpr qreal kDotRadius = 2;
constexpr qreal kCheckSize = 9;
constexpr qreal kCurrentOutline = 1.5;
constexpr qreal kUpcomingOutline = 1;

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

void paintIndicator(QPainter& painter, const QRectF& square, ConfiguratorProgress::Indicator state,
                    qreal dotSide) {
    using Indicator = ConfiguratorProgress::Indicator;
    if (state == Indicator::done) {
        painter.fillPath(RoundedShape::continuous(square, kIndicatorRadius), Theme::black());
        SymbolPainter::paint(painter, square, "checkmark", kCheckSize, Theme::white());
        return;
    }
    const qreal outline = state == Indicator::current ? kCurrentOutline : kUpcomingOutline;
    const QRectF inset = square.adjusted(outline / 2, outline / 2, -outline / 2, -outline / 2);
    const QPainterPath shape = RoundedShape::continuous(inset, kIndicatorRadius);
    painter.fillPath(shape, Theme::white());
    painter.strokePath(shape, QPen(Theme::black(), outline));
    if (state == Indicator::current) {
        QRectF dot(0, 0, dotSide, dotSide);
        dot.moveCenter(square.center());
        painter.fillPath(RoundedShape::continuous(dot, kDotRadius), Theme::black());
    }
}

}  // namespace

ConfiguratorProgressBar::ConfiguratorProgressBar(int currentScreenIndex, int indicatorSide,
                                                 int currentDotSide, QWidget* parent)
    : QWidget(parent), screen_(-1), indicatorSide_(indicatorSide), currentDotSide_(currentDotSide) {
    setAccessibleName(fromStd(std::string(ConfiguratorProgress::kAccessibleName)));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setCurrentScreenIndex(currentScreenIndex);
}

void ConfiguratorProgressBar::setCurrentScreenIndex(int screen) {
    if (screen == screen_) {
        return;
    }
    screen_ = screen;
    setAccessibleDescription(fromStd(ConfiguratorProgress::accessibilityValue(screen_)));
    updateGeometry();
    update();
}

QString ConfiguratorProgressBar::caption() const {
    return fromStd(ConfiguratorProgress::caption(screen_));
}

int ConfiguratorProgressBar::indicatorsWidth() const {
    const int count = static_cast<int>(ConfiguratorProgress::kModules.size());
    return count * indicatorSide_ + (count - 1) * kIndicatorSpacing;
}

QSize ConfiguratorProgressBar::sizeHint() const {
    const QFontMetrics metrics(Theme::fontMedium14());
    const QString text = caption();
    const int captionWidth =
        text.isEmpty() ? 0 : kCaptionSpacing + metrics.horizontalAdvance(text) + 1;
    return {indicatorsWidth() + captionWidth, std::max(indicatorSide_, metrics.height())};
}

void ConfiguratorProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSize content = sizeHint();
    qreal x = (width() - content.width()) / 2.0;
    const qreal top = (height() - indicatorSide_) / 2.0;
    for (const auto state : ConfiguratorProgress::indicators(screen_)) {
        paintIndicator(painter, QRectF(x, top, indicatorSide_, indicatorSide_), state,
                       currentDotSide_);
        x += indicatorSide_ + kIndicatorSpacing;
    }
    const QString text = caption();
    if (!text.isEmpty()) {
        x += kCaptionSpacing - kIndicatorSpacing;
        painter.setFont(Theme::fontMedium14());
        painter.setPen(Theme::black());
        painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
    }
}

}  // namespace olvane::ui
