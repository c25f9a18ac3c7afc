#include "ui/configurateur/ConfiguratorButton.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kSymbolSpacing = 4;

}  // namespace

ConfiguratorButton::Look ConfiguratorButton::primary() {
    return {
        Theme::fontMedium14(), Theme::white(), Theme::black(), std::nullopt, 0, 12, 20, 12, {}, 0};
}

ConfiguratorButton::Look ConfiguratorButton::secondary() {
    return {Theme::fontMedium14(),
            Theme::black(),
            Theme::white(),
            Theme::black(),
            Theme::outlineWidth,
            12,
            20,
            12,
            {},
            0};
}

ConfiguratorButton::ConfiguratorButton(const QString& text, Look look, std::function<void()> action,
                                       QWidget* parent)
    : HoverButton(parent), text_(text), look_(std::move(look)) {
    setAccessibleName(text_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (action) {
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    }
}

void ConfiguratorButton::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    setAccessibleName(text_);
    updateGeometry();
    update();
}

void ConfiguratorButton::setLook(Look look) {
    look_ = std::move(look);
    updateGeometry();
    update();
}

int ConfiguratorButton::symbolWidth() const {
    return look_.symbol.empty() ? 0 : SymbolPainter::boxSide(look_.symbolSize) + kSymbolSpacing;
}

QSize ConfiguratorButton::sizeHint() const {
    const QFontMetrics metrics(look_.font);
    const int symbolHeight = look_.symbol.empty() ? 0 : SymbolPainter::boxSide(look_.symbolSize);
    return {symbolWidth() + metrics.horizontalAdvance(text_) + 2 * look_.paddingH + 1,
            std::max(metrics.height(), symbolHeight) + 2 * look_.paddingV};
}

void ConfiguratorButton::paintContent(QPainter& painter) {
    const qreal inset = look_.outline ? look_.outlineWidth / 2 : 0;
    const QRectF shape = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const QPainterPath path = RoundedShape::continuous(shape, look_.radius);
    painter.fillPath(path, look_.fill);
    if (look_.outline) {
        painter.strokePath(path, QPen(*look_.outline, look_.outlineWidth));
    }
    // Symbol and text centred together.
    const QFontMetricsF metrics(look_.font);
    const qreal contentWidth = symbolWidth() + metrics.horizontalAdvance(text_);
    qreal x = (width() - contentWidth) / 2;
    if (!look_.symbol.empty()) {
        const qreal side = SymbolPainter::boxSide(look_.symbolSize);
        SymbolPainter::paint(painter, QRectF(x, (height() - side) / 2, side, side), look_.symbol,
                             look_.symbolSize, look_.text);
        x += symbolWidth();
    }
    painter.setFont(look_.font);
    painter.setPen(look_.text);
    painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

}  // namespace olvane::ui
