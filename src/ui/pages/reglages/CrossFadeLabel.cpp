#include "ui/pages/reglages/CrossFadeLabel.h"

#include <QPainter>

#include "ui/foundation/Animations.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

CrossFadeLabel::CrossFadeLabel(const QString& text, const QFont& font, QWidget* parent)
    : QWidget(parent), text_(text) {
    setFont(font);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    fade_.setDuration(kFadeMs);
    fade_.setEasingCurve(QEasingCurve::InOutQuad);
    fade_.setStartValue(0.0);
    fade_.setEndValue(1.0);
    connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        progress_ = value.toReal();
        update();
    });
}

void CrossFadeLabel::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    previous_ = std::exchange(text_, text);
    progress_ = 0;
    fade_.stop();
    Animations::start(fade_);
    update();
}

QSize CrossFadeLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text_), fontMetrics().height()};
}

void CrossFadeLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Theme::black());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (progress_ < 1) {
        painter.setOpacity(1 - progress_);
        painter.drawText(rect(), flags, previous_);
    }
    painter.setOpacity(progress_);
    painter.drawText(rect(), flags, text_);
}

}  // namespace olvane::ui
