#include "ui/foundation/SectionCard.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/OverlayLayer.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

// The outline sits inside the card, so none of it is cut by the card's neighbours.
QPainterPath cardShape(const QRect& rect) {
    const qreal half = Theme::outlineWidth / 2;
    return RoundedShape::continuous(QRectF(rect).adjusted(half, half, -half, -half),
                                    Theme::cornerRadius);
}

// Over the content: the page's white outside the rounded corners (the content's backgrounds are
// cut there), then the outline.
class CardOutline final : public OverlayLayer {
  public:
    using OverlayLayer::OverlayLayer;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath shape = cardShape(rect());
        QPainterPath outside;
        outside.addRect(rect());
        painter.fillPath(outside.subtracted(shape), Theme::windowBackground());
        QPen pen(Theme::black(), Theme::outlineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(10);
        painter.strokePath(shape, pen);
    }
};

}  // namespace

SectionCard::SectionCard(QWidget* content, QWidget* parent)
    : SectionCard(content, kInset, parent) {}

SectionCard::SectionCard(QWidget* content, int inset, QWidget* parent)
    : QWidget(parent), content_(content) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(0);
    content->setParent(this);
    layout->addWidget(content);
    new CardOutline(this);
}

void SectionCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(cardShape(rect()), Theme::white());
}

}  // namespace olvane::ui
