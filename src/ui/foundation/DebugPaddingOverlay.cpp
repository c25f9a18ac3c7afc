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

// The bands of `insets` over the whole of `widget`, while spacing debug is on.
void paintBands(QWidget& widget, QMarginsF insets) {
    if (!SpacingDebugManager::overlaysVisible()) {
        return;
    }
    const qreal w = widget.width();
    const qreal h = widget.height();
    const qreal top = insets.top();
    const qreal bottom = insets.bottom();
    const qreal middle = h - top - bottom;
    const Band bands[] = {
        {QRectF(0, 0, w, top), top, DebugColor::green, QChar(0x2191)},
        {QRectF(0, h - bottom, w, bottom), bottom, DebugColor::mint, QChar(0x2193)},
        {QRectF(0, top, insets.left(), middle), insets.left(), DebugColor::orange, QChar(0x2190)},
        {QRectF(w - insets.right(), top, insets.right(), middle), insets.right(),
         DebugColor::yellow, QChar(0x2192)},
    };
    QPainter painter(&widget);
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

class PaddingMarker final : public QWidget {
  public:
    PaddingMarker(QWidget* parent, QMarginsF insets) : QWidget(parent), insets_(insets) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override { paintBands(*this, insets_); }

  private:
    QMarginsF insets_;
};

}  // namespace

QWidget* debugPaddingMarker(QWidget* parent, QMarginsF insets, const QString& label) {
    auto* marker = new PaddingMarker(parent, insets);
    marker->setObjectName(QStringLiteral("padding:") + label);
    return marker;
}

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
    paintBands(*this, insets_);
}

}  // namespace olvane::ui
