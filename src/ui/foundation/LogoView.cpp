#include "ui/foundation/LogoView.h"

#include <QPainter>

#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

LogoView::LogoView(int side, QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Olvane"));
    setSide(side);
}

void LogoView::setSide(int side) {
    setFixedSize(side, side);
    update();
}

void LogoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(RoundedShape::continuous(rect(), Theme::cornerRadius));
    LogoOlvane::paint(painter, rect());
}

}  // namespace olvane::ui
