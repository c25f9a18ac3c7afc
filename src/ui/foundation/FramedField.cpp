#include "ui/foundation/FramedField.h"

#include <QHBoxLayout>
#include <QPainter>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedTextField.h"

namespace olvane::ui {

FramedField::FramedField(const std::string& symbol, qreal symbolSize, const QString& placeholder,
                         std::function<void()> onSubmit, QWidget* parent)
    : QWidget(parent), field_(new ThemedTextField(placeholder, std::move(onSubmit), this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(8);
    row->addWidget(new SymbolView(symbol, symbolSize, Theme::black(), this), 0, Qt::AlignVCenter);
    row->addWidget(field_, 1, Qt::AlignVCenter);
    setFocusProxy(field_);
}

void FramedField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = RoundedShape::continuous(frame, Theme::cornerRadius);
    painter.fillPath(shape, Theme::white());
    painter.strokePath(shape, QPen(Theme::withOpacity(Theme::black(), 0.2), 1));
}

}  // namespace olvane::ui
