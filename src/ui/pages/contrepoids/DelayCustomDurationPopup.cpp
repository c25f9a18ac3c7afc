#include "ui/pages/contrepoids/DelayCustomDurationPopup.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "ui/foundation/Animations.h"
#include "ui/foundation/CustomIntensityPopup.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/HoverScaleSwitch.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/TabularDigits.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kSpacing = 16;
constexpr int kRowSpacing = 8;
constexpr int kButtonSide = 32;
constexpr qreal kSymbolSize = 12;
constexpr int kCellWidth = 100;
constexpr int kCellPadding = 8;
constexpr int kHeight = 32;
constexpr qreal kRadius = 8;
constexpr int kUnitAnimationMs = 150;
constexpr qreal kIndicatorInset = 2;

QString unitName(DelayTimeUnit unit) {
    return QString::fromUtf8(rawValue(unit));
}

// A rounded white box outlined in black, the look of the steppers and of the value cell.
void paintBox(QPainter& painter, const QRectF& rect) {
    const QPainterPath shape =
        RoundedShape::continuous(rect.adjusted(0.5, 0.5, -0.5, -0.5), kRadius);
    painter.fillPath(shape, Theme::white());
    painter.setPen(QPen(Theme::black(), 1));
    painter.drawPath(shape);
}

// The text centred in `rect` with digits of equal width.
void paintTabular(QPainter& painter, const QRectF& rect, const QString& text, const QColor& color) {
    painter.setPen(color);
    const QFontMetricsF metrics(painter.font());
    const qreal baseline = rect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    const qreal width = TabularDigits::width(text, metrics);
    TabularDigits::draw(painter, text, QPointF(rect.center().x() - width / 2, baseline));
}

}  // namespace

// "−" or "+": invisible, still in its place, while it cannot be used.
class DelayCustomDurationPopup::StepButton final : public HoverButton {
  public:
    StepButton(const char* symbol, const QString& label, QWidget* parent)
        : HoverButton(parent), symbol_(symbol) {
        setFixedSize(kButtonSide, kButtonSide);
        setAccessibleName(label);
    }

    void setUsable(bool usable) {
        setEnabled(usable);
        setHoverScaleEnabled(usable);
        update();
    }

  protected:
    void paintContent(QPainter& painter) override {
        if (!isEnabled()) {
            return;
        }
        paintBox(painter, rect());
        SymbolPainter::paint(painter, rect(), symbol_, kSymbolSize, Theme::textPrimary());
    }

  private:
    const char* symbol_;
};

// The field while editing: digits of equal width, as the cell shows them when it is not.
class DelayCustomDurationPopup::TabularField final : public QLineEdit {
  public:
    TabularField(std::function<void()> onFocusLost, QWidget* parent)
        : QLineEdit(parent), onFocusLost_(std::move(onFocusLost)) {
        setFrame(false);
        setFont(Theme::fontMedium14());
        setAlignment(Qt::AlignCenter);
        setPlaceholderText(QStringLiteral("1"));
        setAttribute(Qt::WA_TranslucentBackground);
        setAccessibleName(QStringLiteral("Durée du délai"));
    }

  protected:
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        onFocusLost_();
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font());
        const QRectF area = rect();
        if (text().isEmpty()) {
            paintTabular(painter, area, placeholderText(),
                         Theme::withOpacity(Theme::placeholder(), 0.35));
        } else {
            paintTabular(painter, area, text(), Theme::textPrimary());
        }
        if (hasFocus()) {
            const QFontMetricsF metrics(font());
            const qreal left = area.center().x() - TabularDigits::width(text(), metrics) / 2;
            const qreal x = left + TabularDigits::width(text().left(cursorPosition()), metrics);
            const qreal half = metrics.height() / 2;
            painter.setPen(QPen(Theme::accent(), 1));
            painter.drawLine(QPointF(x, area.center().y() - half),
                             QPointF(x, area.center().y() + half));
        }
    }

  private:
    std::function<void()> onFocusLost_;
};

// The value in its box: plain text until clicked, then the field.
class DelayCustomDurationPopup::ValueCell final : public QWidget {
  public:
    ValueCell(DelayEditorModel& model, QWidget* parent)
        : QWidget(parent),
          model_(model),
          field_(new TabularField([&model] { model.commitInput(); }, this)) {
        setFixedSize(kCellWidth + 2 * kCellPadding, kHeight);
        setAccessibleName(QStringLiteral("Durée du délai"));
        setCursor(Qt::IBeamCursor);
        field_->setGeometry(kCellPadding, 0, kCellWidth, kHeight);
        field_->hide();
        connect(field_, &QLineEdit::textEdited, this,
                [&model](const QString& text) { model.setInputText(text); });
        connect(field_, &QLineEdit::returnPressed, this, [&model] { model.commitInput(); });
    }

    QLineEdit* field() const { return field_; }

    void showModel() {
        setAccessibleDescription(model_.accessibilityValue());
        if (field_->text() != model_.inputText()) {
            field_->setText(model_.inputText());
        }
        if (model_.isEditing() && !field_->isVisible()) {
            field_->show();
            // Focused once it is on screen.
            QMetaObject::invokeMethod(
                field_, [field = field_] { field->setFocus(); }, Qt::QueuedConnection);
        } else if (!model_.isEditing()) {
            field_->hide();
        }
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintBox(painter, rect());
        if (!model_.isEditing()) {
            painter.setFont(Theme::fontMedium14());
            paintTabular(painter, rect(), model_.displayText(), Theme::textPrimary());
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!model_.isEditing() && rect().contains(event->position().toPoint())) {
            model_.startEditing();
        }
    }

  private:
    DelayEditorModel& model_;
    TabularField* field_;
};

// "Sélecteur d'unité de temps": the three units side by side, the current one on a black
// indicator that slides to the unit chosen.
class DelayCustomDurationPopup::UnitSelector final : public QWidget {
  public:
    UnitSelector(DelayEditorModel& model, QWidget* parent) : QWidget(parent), model_(model) {
        setFixedHeight(kHeight);
        setAccessibleName(QStringLiteral("Sélecteur d'unité de temps"));
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        for (const auto unit : allCases<DelayTimeUnit>()) {
            auto* button = new UnitButton(unit, model, this);
            buttons_[static_cast<std::size_t>(unit)] = button;
            row->addWidget(button, 1);
        }
        indicator_.setDuration(kUnitAnimationMs);
        indicator_.setEasingCurve(QEasingCurve::InOutQuad);
        connect(&indicator_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            position_ = v.toReal();
            update();
        });
        position_ = index(model.unit());
    }

    QAbstractButton* button(DelayTimeUnit unit) const {
        return buttons_[static_cast<std::size_t>(unit)];
    }

    void showModel() {
        const qreal target = index(model_.unit());
        if (target != shownUnit_) {
            shownUnit_ = target;
            indicator_.stop();
            indicator_.setStartValue(position_);
            indicator_.setEndValue(target);
            Animations::start(indicator_);
        }
        for (auto* button : buttons_) {
            button->showModel();
        }
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const QPainterPath outline = RoundedShape::continuous(frame, kRadius);
        painter.setClipPath(RoundedShape::continuous(rect(), kRadius));
        const qreal third = width() / 3.0;
        const QRectF indicator(third * position_ + kIndicatorInset, kIndicatorInset,
                               third - 2 * kIndicatorInset, height() - 2 * kIndicatorInset);
        painter.fillPath(RoundedShape::continuous(indicator, kRadius), Theme::black());
        painter.setPen(QPen(Theme::black(), 1));
        painter.drawPath(outline);
    }

  private:
    class UnitButton final : public HoverButton {
      public:
        UnitButton(DelayTimeUnit unit, DelayEditorModel& model, QWidget* parent)
            : HoverButton(parent), unit_(unit), model_(model) {
            setAccessibleName(unitName(unit));
            setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            setFixedHeight(kHeight);
            connect(this, &QAbstractButton::clicked, this, [this] { model_.unitChanged(unit_); });
        }

        void showModel() {
            const bool current = model_.unit() == unit_;
            setHoverScaleEnabled(!current);
            // The selected trait of the current unit.
            setCheckable(true);
            setChecked(current);
            update();
        }

      protected:
        void paintContent(QPainter& painter) override {
            const bool current = model_.unit() == unit_;
            painter.setFont(Theme::fontRegular14());
            painter.setPen(current ? Theme::white() : Theme::textPrimary());
            painter.drawText(rect(), Qt::AlignCenter, unitName(unit_));
        }
        void nextCheckState() override {}

      private:
        DelayTimeUnit unit_;
        DelayEditorModel& model_;
    };

    static qreal index(DelayTimeUnit unit) { return static_cast<qreal>(unit); }

    DelayEditorModel& model_;
    std::array<UnitButton*, 3> buttons_{};
    QVariantAnimation indicator_;
    qreal position_ = 0;
    qreal shownUnit_ = -1;
};

DelayCustomDurationPopup::DelayCustomDurationPopup(std::int64_t& seconds, DelayTimeUnit& unit,
                                                   std::function<void()> onApply,
                                                   std::function<void()> onCancel, QWidget* parent)
    : QWidget(parent), model_(seconds, unit) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* content = new QWidget();
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSpacing);
    column->addWidget(valueRow());
    units_ = new UnitSelector(model_, content);
    column->addWidget(units_);
    frame_ = new CustomIntensityPopup(
        QStringLiteral("Délai personnalisé"), content,
        [this, apply = std::move(onApply)] {
            model_.commitInput();
            if (apply) {
                apply();
            }
        },
        std::move(onCancel), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    observation_ = model_.observe([this] { showModel(); });
    showModel();
}

DelayCustomDurationPopup::~DelayCustomDurationPopup() {
    observation_.cancel();
}

QWidget* DelayCustomDurationPopup::valueRow() {
    auto* row = new QWidget();
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kRowSpacing);
    decrement_ = new StepButton("minus", QStringLiteral("Diminuer la durée"), row);
    increment_ = new StepButton("plus", QStringLiteral("Augmenter la durée"), row);
    cell_ = new ValueCell(model_, row);
    connect(decrement_, &QAbstractButton::clicked, this, [this] { model_.decrement(); });
    connect(increment_, &QAbstractButton::clicked, this, [this] { model_.increment(); });
    layout->addStretch(1);
    layout->addWidget(decrement_);
    layout->addWidget(cell_);
    layout->addWidget(increment_);
    layout->addStretch(1);
    return row;
}

QAbstractButton* DelayCustomDurationPopup::decrementButton() const {
    return decrement_;
}

QAbstractButton* DelayCustomDurationPopup::incrementButton() const {
    return increment_;
}

QWidget* DelayCustomDurationPopup::valueCell() const {
    return cell_;
}

QLineEdit* DelayCustomDurationPopup::field() const {
    return cell_->field();
}

QAbstractButton* DelayCustomDurationPopup::unitButton(DelayTimeUnit unit) const {
    return units_->button(unit);
}

QWidget* DelayCustomDurationPopup::unitSelector() const {
    return units_;
}

QSize DelayCustomDurationPopup::sizeHint() const {
    // The frame's width is fixed: its hint alone would be its content's.
    return frame_->sizeHint().expandedTo(frame_->minimumSize()).boundedTo(frame_->maximumSize());
}

void DelayCustomDurationPopup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        model_.appear();
    }
}

void DelayCustomDurationPopup::showModel() {
    const QString unit = unitName(model_.unit());
    decrement_->setUsable(model_.canDecrement());
    decrement_->setAccessibleDescription(QStringLiteral("Réduit la durée de 1 ") + unit);
    increment_->setUsable(model_.canIncrement());
    increment_->setAccessibleDescription(QStringLiteral("Augmente la durée de 1 ") + unit);
    cell_->showModel();
    units_->showModel();
}

}  // namespace olvane::ui
