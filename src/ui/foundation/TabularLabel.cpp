#include "ui/foundation/TabularLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "ui/foundation/TabularDigits.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

TabularLabel::TabularLabel(const QString& text, QFont font, QWidget* parent)
    : QWidget(parent), font_(std::move(font)) {
    setText(text);
}

void TabularLabel::setText(const QString& text) {
    text_ = text;
    const QFontMetricsF metrics(font_);
    setFixedSize(static_cast<int>(std::ceil(TabularDigits::width(text_, metrics))),
                 static_cast<int>(std::ceil(metrics.height())));
    update();
}

void TabularLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font_);
    painter.setPen(Theme::black());
    TabularDigits::draw(painter, text_, QPointF(0, QFontMetricsF(font_).ascent()));
}

}  // namespace olvane::ui
