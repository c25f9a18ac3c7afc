#include "ui/foundation/ExceptionTabBar.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QVariantAnimation>

#include "ui/foundation/Animations.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/RoundedOutline.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kDividerWidth = 1.5;
constexpr int kDividerHeight = 32;
constexpr int kVerticalPadding = 8;

std::size_t slot(ExceptionTab tab) {
    return static_cast<std::size_t>(tab);
}

QColor mix(const QColor& from, const QColor& to, qreal progress) {
    return QColor::fromRgbF(
        static_cast<float>(from.redF() + (to.redF() - from.redF()) * progress),
        static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * progress),
        static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * progress));
}

// The black line between the two halves.
class TabDivider final : public QWidget {
  public:
    explicit TabDivider(QWidget* parent) : QWidget(parent) {
        setFixedSize(2, kDividerHeight);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(QRectF((width() - kDividerWidth) / 2, 0, kDividerWidth, height()),
                         Theme::black());
    }
};

}  // namespace

// One half: its title on black when selected, on white otherwise.
class ExceptionTabBar::TabButton final : public HoverButton {
  public:
    explicit TabButton(QWidget* parent) : HoverButton(parent) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        fade_.setDuration(kAnimationMs);
        fade_.setEasingCurve(QEasingCurve::InOutQuad);
        connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            selection_ = value.toReal();
            update();
        });
    }

    bool isSelected() const { return selected_; }
    void setSelected(bool selected, bool animated) {
        if (selected == selected_ && fade_.state() != QAbstractAnimation::Running) {
            return;
        }
        selected_ = selected;
        setHoverScaleEnabled(!selected);
        fade_.stop();
        if (!animated) {
            selection_ = selected ? 1.0 : 0.0;
            update();
            return;
        }
        fade_.setStartValue(selection_);
        fade_.setEndValue(selected ? 1.0 : 0.0);
        Animations::start(fade_);
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(Theme::fontMedium14());
        return {metrics.horizontalAdvance(text()), metrics.height() + 2 * kVerticalPadding};
    }

  protected:
    void paintContent(QPainter& painter) override {
        painter.fillRect(rect(), mix(Theme::white(), Theme::black(), selection_));
        painter.setFont(selected_ ? Theme::fontMedium14() : Theme::fontRegular14());
        painter.setPen(mix(Theme::black(), Theme::white(), selection_));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

  private:
    bool selected_ = false;
    qreal selection_ = 0.0;
    QVariantAnimation fade_;
};

ExceptionTabBar::ExceptionTabBar(platform::Observable<ExceptionTab>& selectedTab, int appCount,
                                 int siteCount, QWidget* parent)
    : QWidget(parent), selectedTab_(selectedTab), counts_{appCount, siteCount} {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (const ExceptionTab tab : allCases<ExceptionTab>()) {
        auto* button = new TabButton(this);
        tabs_[slot(tab)] = button;
        connect(button, &QAbstractButton::clicked, this, [this, tab] { selectedTab_.set(tab); });
        row->addWidget(button, 1);
        if (tab == ExceptionTab::apps) {
            row->addWidget(new TabDivider(this), 0, Qt::AlignVCenter);
        }
    }
    new RoundedOutline(this, Theme::cornerRadius, Theme::outlineWidth);
    setCounts(appCount, siteCount);
    for (const ExceptionTab tab : allCases<ExceptionTab>()) {
        tabs_[slot(tab)]->setSelected(tab == selectedTab_.get(), false);
    }
    observation_ = selectedTab_.observe([this](ExceptionTab) { showSelection(); });
}

void ExceptionTabBar::setCounts(int appCount, int siteCount) {
    counts_ = {appCount, siteCount};
    for (const ExceptionTab tab : allCases<ExceptionTab>()) {
        tabs_[slot(tab)]->setText(title(tab));
    }
}

QString ExceptionTabBar::title(ExceptionTab tab) const {
    return QString::fromUtf8(rawValue(tab).data(), static_cast<qsizetype>(rawValue(tab).size())) +
           QStringLiteral(" (%1)").arg(counts_[slot(tab)]);
}

HoverButton* ExceptionTabBar::tab(ExceptionTab tab) const {
    return tabs_[slot(tab)];
}

bool ExceptionTabBar::isSelected(ExceptionTab tab) const {
    return tabs_[slot(tab)]->isSelected();
}

void ExceptionTabBar::showSelection() {
    for (const ExceptionTab tab : allCases<ExceptionTab>()) {
        tabs_[slot(tab)]->setSelected(tab == selectedTab_.get(), true);
    }
}

}  // namespace olvane::ui
