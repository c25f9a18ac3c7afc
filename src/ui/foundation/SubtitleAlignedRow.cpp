#include "ui/foundation/SubtitleAlignedRow.h"

#include <QEvent>
#include <algorithm>

#include "ui/foundation/SettingTextBlock.h"

namespace olvane::ui {

SubtitleAlignedRow::SubtitleAlignedRow(SettingTextBlock* text, QWidget* control, int minimumGap,
                                       QWidget* parent)
    : QWidget(parent), text_(text), control_(control), minimumGap_(minimumGap) {
    text_->setParent(this);
    control_->setParent(this);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void SubtitleAlignedRow::setMinimumGap(int gap) {
    if (gap == minimumGap_) {
        return;
    }
    minimumGap_ = gap;
    updateGeometry();
    layOut();
}

bool SubtitleAlignedRow::isStacked(int width) const {
    const QMargins margins = contentsMargins();
    const int controlWidth = control_->sizeHint().width();
    return width - margins.left() - margins.right() - minimumGap_ - controlWidth < controlWidth;
}

SubtitleAlignedRow::Placement SubtitleAlignedRow::place(int width) const {
    const QMargins margins = contentsMargins();
    const int inner = width - margins.left() - margins.right();
    const QSize control = control_->sizeHint();
    if (isStacked(width)) {
        const QRect text(margins.left(), margins.top(), inner, text_->heightForWidth(inner));
        return {text, QRect(width - margins.right() - control.width(),
                            text.bottom() + 1 + kStackedGap, control.width(), control.height())};
    }
    const int textWidth = std::max(0, inner - minimumGap_ - control.width());
    int textTop = margins.top();
    int controlTop = textTop + text_->subtitleCentre(textWidth) - control.height() / 2;
    // A control taller than the text above its line pushes the text down instead.
    if (controlTop < margins.top()) {
        textTop += margins.top() - controlTop;
        controlTop = margins.top();
    }
    return {QRect(margins.left(), textTop, textWidth, text_->heightForWidth(textWidth)),
            QRect(width - margins.right() - control.width(), controlTop, control.width(),
                  control.height())};
}

int SubtitleAlignedRow::heightForWidth(int width) const {
    const Placement placement = place(width);
    return std::max(placement.text.bottom(), placement.control.bottom()) + 1 +
           contentsMargins().bottom();
}

QSize SubtitleAlignedRow::sizeHint() const {
    return sizeFor(text_->sizeHint().width());
}

// As narrow as the text allows, as low as on its widest: a layout then asks heightForWidth()
// for the real height.
QSize SubtitleAlignedRow::minimumSizeHint() const {
    return {sizeFor(text_->minimumSizeHint().width()).width(), sizeHint().height()};
}

QSize SubtitleAlignedRow::sizeFor(int textWidth) const {
    const QMargins margins = contentsMargins();
    const int width =
        margins.left() + textWidth + minimumGap_ + control_->sizeHint().width() + margins.right();
    return {width, heightForWidth(width)};
}

void SubtitleAlignedRow::resizeEvent(QResizeEvent*) {
    layOut();
}

// The control's size follows its content (new key captions, for one).
bool SubtitleAlignedRow::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        layOut();
    }
    return QWidget::event(event);
}

void SubtitleAlignedRow::layOut() {
    const Placement placement = place(width());
    text_->setGeometry(placement.text);
    control_->setGeometry(placement.control);
}

}  // namespace olvane::ui
