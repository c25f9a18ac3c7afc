#include "ui/configurateur/AnswerScrollArea.h"

#include <QEvent>
#include <QVBoxLayout>

#include "ui/foundation/Theme.h"
#include "ui/foundation/ThinScrollBar.h"

namespace olvane::ui {
namespace {

// The least it shrinks to: about one row.
constexpr int kMinimumHeight = 48;

}  // namespace

AnswerScrollArea::AnswerScrollArea(QMargins padding, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    useThinScrollBar(*this);
    auto* inside = new QWidget();
    QPalette palette = inside->palette();
    palette.setColor(QPalette::Window, Theme::white());
    inside->setPalette(palette);
    inside->setAutoFillBackground(true);
    column_ = new QVBoxLayout(inside);
    column_->setContentsMargins(padding);
    column_->setSpacing(0);
    setWidget(inside);
    viewport()->setAutoFillBackground(false);
    // A row more or less changes the height the area asks for.
    inside->installEventFilter(this);
}

bool AnswerScrollArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
}

QSize AnswerScrollArea::sizeHint() const {
    const QSize inner = widget()->sizeHint();
    const int frame = 2 * frameWidth();
    return {inner.width() + frame, inner.height() + frame};
}

QSize AnswerScrollArea::minimumSizeHint() const {
    return {widget()->minimumSizeHint().width(), std::min(kMinimumHeight, sizeHint().height())};
}

}  // namespace olvane::ui
