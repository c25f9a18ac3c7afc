#include "ui/shell/MenuPopover.h"

#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/PopupPlacement.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

MenuPopover::MenuPopover(QWidget* content)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::NoDropShadowWindowHint) {
    setWindowTitle(QStringLiteral("Olvane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);  // room for the outline
    layout->setSizeConstraint(QLayout::SetFixedSize);
    content->setParent(this);
    layout->addWidget(content);
}

QPoint MenuPopover::placement(const QRect& anchor, const QSize& size, const QRect& screen) {
    return PopupPlacement::below(anchor, size, screen);
}

void MenuPopover::showUnder(const QRect& anchor) {
    adjustSize();
    move(placement(anchor, size(), PopupPlacement::screenArea(anchor)));
    show();
    raise();
    activateWindow();
}

void MenuPopover::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MenuPopover::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Q_EMIT closed();
}

void MenuPopover::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Theme::popoverBackground());
    QColor outline = Theme::black();
    outline.setAlphaF(0.15f);
    painter.setPen(outline);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace olvane::ui
