#include "ui/foundation/SectionCard.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/RoundedOutline.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

SectionCard::SectionCard(QWidget* content, QWidget* parent)
    : SectionCard(content, kInset, parent) {}

SectionCard::SectionCard(QWidget* content, int inset, QWidget* parent)
    : QWidget(parent), content_(content) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(0);
    content->setParent(this);
    layout->addWidget(content);
    new RoundedOutline(this, Theme::cornerRadius, Theme::outlineWidth);
}

void SectionCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(RoundedOutline::shape(rect(), Theme::cornerRadius, Theme::outlineWidth),
                     Theme::white());
}

}  // namespace olvane::ui
