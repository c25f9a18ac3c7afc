#include "ui/foundation/SymbolView.h"

#include <QPainter>

#include "ui/foundation/SymbolPainter.h"

namespace olvane::ui {

SymbolView::SymbolView(std::string name, qreal size, QColor color, QWidget* parent)
    : QWidget(parent), name_(std::move(name)), size_(size), color_(color) {
    setFixedSize(SymbolPainter::boxSide(size), SymbolPainter::boxSide(size));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolView::setSymbol(std::string name, QColor color) {
    if (name == name_ && color == color_) {
        return;
    }
    name_ = std::move(name);
    color_ = color;
    update();
}

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    SymbolPainter::paint(painter, rect(), name_, size_, color_);
}

}  // namespace olvane::ui
