#include "ui/foundation/DebugPaddingOverlay.h"

#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "ui/foundation/DebugColor.h"
#include "ui/foundation/DebugLabels.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kBandOpacity = 0.35;
constexpr qreal kTextOpacity = 0.9;
constexpr qreal kFontSize = 8;
constexpr qreal kSmallestTextScale = 0.5;

struct Band {
    QRectF rect;
    qreal inset;
    DebugColor color;
    QChar arrow;
};

// The text on one line, shrunk (to half its size at most) to fit the band's width.
void paintBandText(QPainter& painter, const Band& band) {
    const QString text = DebugLabels::padding(band.arrow, band.inset);
    QFont font = Theme::monospacedFont(kFontSize, FontWeight::bold);
    const qreal natural = QFontMetricsF(font).horizontalAdvance(text);
    if (natural > band.rect.width()) {
        const qreal scale = std::max(kSmallestTextScale, band.rect.width() / natural);
        font.setPixelSize(std::max(1, static_cast<int>(std::floor(kFontSize * scale))));
    }
    painter.setFont(font);
    painter.setPen(debugColor(band.color, kTextOpacity));
    painter.drawText(band.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

}  // namespace

DebugPaddingOverlay::DebugPaddingOverlay(QWidget* content, QMarginsF insets, const QString& label,
                                         QWidget* parent)
    : QWidget(parent), content_(content), insets_(insets) {
    setObjectName(QStringLiteral("padding:") + label);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(insets.toMargins());
    layout->setSpacing(0);
    content->setParent(this);
    layout->addWidget(content);
}

void DebugPaddingOverlay::paintEvent(QPaintEvent*) {
    if (!SpacingDebugManager::overlaysVisible()) {
        return;
    }
    const qreal w = width();
    const qreal h = height();
    const qreal top = insets_.top();
    const qreal bottom = insets_.bottom();
    const qreal middle = h - top - bottom;
    const Band bands[] = {
        {QRectF(0, 0, w, top), top, DebugColor::green, QChar(0x2191)},
        {QRectF(0, h - bottom, w, bottom), bottom, DebugColor::mint, QChar(0x2193)},
        {QRectF(0, top, insets_.left(), middle), insets_.left(), DebugColor::orange, QChar(0x2190)},
        {QRectF(w - insets_.right(), top, insets_.right(), middle), insets_.right(),
         DebugColor::yellow, QChar(0x2192)},
    };
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Band& band : bands) {
        if (!DebugLabels::drawsPaddingBand(band.inset)) {
            continue;
        }
        painter.fillRect(band.rect, debugColor(band.color, kBandOpacity));
        if (DebugLabels::showsPaddingText(band.rect.width(), band.rect.height())) {
            paintBandText(painter, band);
        }
    }
}

}  // namespace olvane::ui
