#include "ui/foundation/SegmentedPicker.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QVariantAnimation>

#include "ui/foundation/Animations.h"
#include "ui/foundation/RoundedOutline.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 12;
constexpr int kPaddingV = 8;
constexpr int kSelectionMs = 150;
// The outline is stroked on the edge and cut by the corners: only its inner half shows.
constexpr qreal kVisibleOutline = Theme::outlineWidth / 2;

QColor blend(const QColor& from, const QColor& to, qreal amount) {
    return QColor::fromRgbF(
        static_cast<float>(from.redF() + (to.redF() - from.redF()) * amount),
        static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * amount),
        static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * amount));
}

// One segment: its fill goes from white to black (and its text the other way) as it is
// selected.
class Segment final : public QAbstractButton {
  public:
    Segment(const QString& label, QWidget* parent) : QAbstractButton(parent) {
        setText(label);
        setAccessibleName(label);
        setFocusPolicy(Qt::NoFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        animation_.setDuration(kSelectionMs);
        animation_.setEasingCurve(QEasingCurve::InOutQuad);
        connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            selection_ = v.toReal();
            update();
        });
    }

    void setSelected(bool selected) {
        const qreal target = selected ? 1.0 : 0.0;
        if (animation_.endValue().toReal() == target &&
            (animation_.state() == QAbstractAnimation::Running || selection_ == target)) {
            return;
        }
        animation_.stop();
        animation_.setStartValue(selection_);
        animation_.setEndValue(target);
        Animations::start(animation_);
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(Theme::fontRegular14());
        return {metrics.horizontalAdvance(text()) + 2 * kPaddingH + 1,
                metrics.height() + 2 * kPaddingV};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), blend(Theme::white(), Theme::black(), selection_));
        painter.setFont(Theme::fontRegular14());
        painter.setPen(blend(Theme::black(), Theme::white(), selection_));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

  private:
    QVariantAnimation animation_;
    qreal selection_ = 0;
};

}  // namespace

SegmentedPicker::SegmentedPicker(const QStringList& labels, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (const QString& label : labels) {
        auto* segment = new Segment(label, this);
        const int index = static_cast<int>(segments_.size());
        connect(segment, &QAbstractButton::clicked, this,
                [this, index] { Q_EMIT segmentTapped(index); });
        row->addWidget(segment, 1);
        segments_.push_back(segment);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    new RoundedOutline(this, Theme::cornerRadius, kVisibleOutline);
}

void SegmentedPicker::setSelectedIndex(int index) {
    selected_ = index >= 0 && index < count() ? index : -1;
    for (int i = 0; i < count(); ++i) {
        static_cast<Segment*>(segments_[static_cast<std::size_t>(i)])->setSelected(i == selected_);
    }
}

QWidget* SegmentedPicker::segment(int index) const {
    return index >= 0 && index < count() ? segments_[static_cast<std::size_t>(index)] : nullptr;
}

}  // namespace olvane::ui
