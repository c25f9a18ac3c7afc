#include "ui/foundation/ThemedSlider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr qreal kRailHeight = 6;
constexpr qreal kThumbOutline = 2;
constexpr int kFieldWidth = 50;
constexpr qreal kBoxRadius = 6;

}  // namespace

ThemedSlider::ThemedSlider(const QString& label, double value, SliderModel::Range range,
                           double step, const QString& unit, int decimals, QWidget* parent)
    : QWidget(parent), model_(range, step, decimals, value) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    auto* line = new QHBoxLayout();
    line->addWidget(themedLabel(label, Theme::fontRegular14(), this));
    line->addStretch(1);
    box_ = new SliderValueBox(*this, unit);
    line->addWidget(box_);
    column->addLayout(line);
    track_ = new SliderTrack(*this);
    column->addWidget(track_);
}

void ThemedSlider::setValue(double value) {
    model_.setValue(value);
    refresh();
}

void ThemedSlider::dragTo(double x, double trackWidth) {
    if (model_.drag(x, trackWidth)) {
        refresh();
        Q_EMIT valueEdited(model_.value());
    }
}

void ThemedSlider::typed(const QString& text) {
    if (model_.type(text)) {
        refresh();
        Q_EMIT valueEdited(model_.value());
    }
}

void ThemedSlider::beginEditing() {
    model_.beginEditing();
    box_->refresh();
    box_->field()->setFocus(Qt::MouseFocusReason);
}

void ThemedSlider::endEditing() {
    if (!model_.isEditing()) {
        return;
    }
    model_.endEditing();
    box_->refresh();
}

void ThemedSlider::refresh() {
    box_->refresh();
    track_->update();
}

SliderTrack::SliderTrack(ThemedSlider& slider) : QWidget(&slider), slider_(slider) {
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QRectF SliderTrack::thumbRect() const {
    const double fraction = slider_.model().fraction(slider_.value());
    return {(width() - kThumb) * fraction, 0, kThumb, kThumb};
}

void SliderTrack::mousePressEvent(QMouseEvent* event) {
    // The rail itself does nothing: only the thumb starts a drag, at once.
    dragging_ = event->button() == Qt::LeftButton && thumbRect().contains(event->position());
    if (dragging_) {
        slider_.dragTo(event->position().x(), width());
    }
}

void SliderTrack::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        slider_.dragTo(event->position().x(), width());
    }
}

void SliderTrack::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void SliderTrack::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF thumb = thumbRect();
    const qreal railTop = (kThumb - kRailHeight) / 2;
    const qreal radius = kRailHeight / 2;
    painter.fillPath(RoundedShape::continuous(QRectF(0, railTop, width(), kRailHeight), radius),
                     Theme::lightGray());
    painter.fillPath(
        RoundedShape::continuous(QRectF(0, railTop, thumb.center().x(), kRailHeight), radius),
        Theme::black());
    painter.setBrush(Theme::white());
    painter.setPen(QPen(Theme::black(), kThumbOutline));
    painter.drawEllipse(thumb.adjusted(kThumbOutline / 2, kThumbOutline / 2, -kThumbOutline / 2,
                                       -kThumbOutline / 2));
}

SliderValueBox::SliderValueBox(ThemedSlider& slider, const QString& unit)
    : QWidget(&slider), slider_(slider) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(4);
    value_ = themedLabel(QString(), Theme::fontRegular14(), this);
    row->addWidget(value_);
    field_ = new QLineEdit(this);
    field_->setFrame(false);
    field_->setFont(Theme::fontRegular14());
    field_->setAlignment(Qt::AlignRight);
    field_->setFixedWidth(kFieldWidth);
    QPalette palette = field_->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, Theme::textPrimary());
    field_->setPalette(palette);
    row->addWidget(field_);
    if (!unit.isEmpty()) {
        row->addWidget(themedLabel(unit, Theme::fontRegular14(), this));
    }
    connect(field_, &QLineEdit::textEdited, this,
            [this](const QString& text) { slider_.typed(text); });
    // Return or the loss of the focus.
    connect(field_, &QLineEdit::editingFinished, this, [this] { slider_.endEditing(); });
    refresh();
}

void SliderValueBox::refresh() {
    const SliderModel& model = slider_.model();
    value_->setVisible(!model.isEditing());
    field_->setVisible(model.isEditing());
    if (model.isEditing()) {
        if (field_->text() != model.text()) {
            field_->setText(model.text());
        }
    } else {
        value_->setText(model.text());
    }
    update();
}

void SliderValueBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void SliderValueBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!slider_.model().isEditing() && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        slider_.beginEditing();
    }
}

void SliderValueBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath box =
        RoundedShape::continuous(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kBoxRadius);
    painter.fillPath(box, Theme::white());
    painter.strokePath(box,
                       QPen(slider_.model().isEditing() ? Theme::black() : Theme::lightGray(), 1));
}

}  // namespace olvane::ui
