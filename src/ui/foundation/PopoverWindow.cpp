#include "ui/foundation/PopoverWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/PopupPlacement.h"
#include "ui/foundation/RoundedOutline.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/WindowCompositing.h"

namespace olvane::ui {
namespace {

Qt::WindowFlags flagsFor(bool takesInput) {
    const Qt::WindowFlags frameless = Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    if (takesInput) {
        return Qt::Popup | frameless;
    }
    return Qt::ToolTip | frameless | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput;
}

}  // namespace

PopoverWindow::PopoverWindow(QWidget* anchor, QWidget* content, bool takesInput)
    : QWidget(anchor, flagsFor(takesInput)),
      anchor_(anchor),
      translucent_(translucentWindowsAreComposited()) {
    // Without a compositing manager the corners outside the card would be black: the window's
    // shape leaves them out.
    setAttribute(Qt::WA_TranslucentBackground, translucent_);
    setAttribute(Qt::WA_ShowWithoutActivating, !takesInput);
    setAttribute(Qt::WA_TransparentForMouseEvents, !takesInput);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    content->setParent(this);
    layout->addWidget(content);
}

void PopoverWindow::showUnderAnchor() {
    adjustSize();
    if (anchor_) {
        const QRect anchor(anchor_->mapToGlobal(QPoint(0, 0)), anchor_->size());
        move(PopupPlacement::below(anchor, size(), PopupPlacement::screenArea(anchor)));
    }
    show();
    raise();
}

void PopoverWindow::dismiss() {
    onClosed_ = nullptr;
    close();
}

void PopoverWindow::mousePressEvent(QMouseEvent* event) {
    // A press on the anchor closes the popup and stops there: the anchor's button would open it
    // again at once.
    if (anchor_ && !rect().contains(event->position().toPoint())) {
        const QPoint onAnchor = anchor_->mapFromGlobal(event->globalPosition().toPoint());
        setAttribute(Qt::WA_NoMouseReplay, anchor_->rect().contains(onAnchor));
    }
    QWidget::mousePressEvent(event);
}

void PopoverWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (auto onClosed = std::exchange(onClosed_, nullptr)) {
        onClosed();
    }
}

void PopoverWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!translucent_) {
        cutShapeToRoundedCard(*this, rect(), Theme::cornerRadius);
    }
}

void PopoverWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath card =
        RoundedOutline::shape(rect(), Theme::cornerRadius, Theme::outlineWidth);
    if (translucent_) {
        painter.fillPath(card, Theme::popoverBackground());
    } else {
        painter.fillRect(rect(), Theme::popoverBackground());
    }
    painter.strokePath(card, QPen(Theme::black(), Theme::outlineWidth));
}

}  // namespace olvane::ui
