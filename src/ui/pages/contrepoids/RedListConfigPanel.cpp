#include "ui/pages/contrepoids/RedListConfigPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "friction/EffectLabels.h"
#include "ui/foundation/CustomIntensityPopup.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/OpacityFade.h"
#include "ui/foundation/PopoverPresenter.h"
#include "ui/foundation/SheetPresenter.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/ToggleSwitchView.h"
#include "ui/pages/contrepoids/DelayCustomDurationPopup.h"
#include "ui/pages/contrepoids/DropdownOptionList.h"
#include "ui/pages/contrepoids/FogCustomIntensityPopup.h"
#include "ui/pages/contrepoids/MenuDropdownButton.h"
#include "ui/pages/contrepoids/TurtleCustomIntensityPopup.h"

namespace olvane::ui {
namespace {

constexpr int kSymbolWidth = 20;
constexpr qreal kSymbolSize = 10;
constexpr int kNameGap = 8;
constexpr int kNameMinimumWidth = 50;
constexpr int kMenuGap = 16;
constexpr int kGroupSpacing = 8;
constexpr int kLineGap = 12;
constexpr int kFadeMs = 200;
constexpr QMarginsF kPadding{16, 12, 16, 12};
constexpr ToggleGeometry kToggle{38, 22, 16, 3};

const char* symbolOf(FrictionEffectType effect) {
    switch (effect) {
        case FrictionEffectType::fog:
            return "humidity";
        case FrictionEffectType::turtle:
            return "tortoise.fill";
        case FrictionEffectType::delay:
            break;
    }
    return "clock.fill";
}

QString nameOf(FrictionEffectType effect) {
    return QString::fromUtf8(label(effect));
}

QString captionOf(FrictionEffectType effect) {
    return QString::fromStdString(RedListConfigPanelModel::caption(effect));
}

// The widest of the three lines' texts, so that every line's menu starts at one place.
int widest(QString (*text)(FrictionEffectType)) {
    const QFontMetrics metrics(Theme::fontRegular14());
    int width = 0;
    for (const auto effect : allCases<FrictionEffectType>()) {
        width = std::max(width, metrics.horizontalAdvance(text(effect)) + 1);
    }
    return width;
}

// "Configurer" with its gear, shown while the value is custom.
class ConfigureButton final : public HoverButton {
  public:
    explicit ConfigureButton(QWidget* parent) : HoverButton(parent) {
        setAccessibleName(QStringLiteral("Configurer"));
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(Theme::fontRegular14());
        return {SymbolPainter::boxSide(kGearSize) + kSpacing +
                    metrics.horizontalAdvance(QStringLiteral("Configurer")) + 1,
                std::max(metrics.height(), SymbolPainter::boxSide(kGearSize))};
    }

  protected:
    void paintContent(QPainter& painter) override {
        const int side = SymbolPainter::boxSide(kGearSize);
        SymbolPainter::paint(painter, QRectF(0, (height() - side) / 2.0, side, side), "gearshape",
                             kGearSize, Theme::black());
        painter.setFont(Theme::fontRegular14());
        painter.setPen(Theme::black());
        painter.drawText(QRectF(side + kSpacing, 0, width(), height()),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Configurer"));
    }

  private:
    static constexpr qreal kGearSize = 12;
    static constexpr int kSpacing = 4;
};

// The panel's four paddings, one overlay each so that each carries its own name.
QWidget* padded(QWidget* content) {
    const std::pair<QMarginsF, const char*> paddings[] = {
        {QMarginsF(kPadding.left(), 0, 0, 0), "panel.padL"},
        {QMarginsF(0, 0, kPadding.right(), 0), "panel.padR"},
        {QMarginsF(0, kPadding.top(), 0, 0), "panel.padTop"},
        {QMarginsF(0, 0, 0, kPadding.bottom()), "panel.padBottom"},
    };
    QWidget* padded = content;
    for (const auto& [insets, label] : paddings) {
        padded = new DebugPaddingOverlay(padded, insets, QString::fromLatin1(label));
    }
    return padded;
}

}  // namespace

// One effect's line: symbol, name, menu group, switch; and the effect's option list and editor.
class RedListConfigPanel::EffectLine final : public QWidget {
  public:
    EffectLine(FrictionEffectType effect, RedListConfigPanelModel& model, bool inverted,
               QWidget* parent)
        : QWidget(parent), effect_(effect), model_(model) {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        auto* symbol = new SymbolView(symbolOf(effect), kSymbolSize, Theme::black(), this);
        symbol->setFixedWidth(kSymbolWidth);
        row->addWidget(symbol);
        row->addSpacing(kNameGap);
        auto* name = themedLabel(nameOf(effect), Theme::fontRegular14(), this);
        name->setMinimumWidth(std::max(kNameMinimumWidth, widest(nameOf)));
        debugOverlay(name, QStringLiteral("label"), DebugColor::cyan);
        row->addWidget(name);
        row->addSpacing(kMenuGap);
        row->addWidget(menuGroup());
        row->addStretch(1);
        toggle_ = new ToggleSwitchView(model.isEnabled(effect), false, inverted, kToggle, this);
        connect(toggle_, &ToggleSwitchView::toggledByUser, this,
                [this](bool on) { model_.setEnabled(effect_, on); });
        debugOverlay(toggle_, QStringLiteral("toggle"), DebugColor::green);
        row->addWidget(toggle_);
        debugOverlay(this, QStringLiteral("row:") + nameOf(effect), DebugColor::brown);

        options_ = std::make_unique<PopoverPresenter>(
            menu_, model.pickerFlag(effect), PopoverPresenter::Kind::click, [this] {
                std::vector<DropdownOptionList::Option> options;
                for (const auto& option : model_.options(effect_)) {
                    options.push_back({QString::fromStdString(option.title), option.isSelected});
                }
                return new DropdownOptionList(
                    options, [this](std::size_t index) { model_.chooseOption(effect_, index); });
            });
        // The editor's own panel is the sheet: the presenter only adds its shadow.
        editor_ = std::make_unique<SheetPresenter>(
            *this, model.editorFlag(effect), [this] { return makeEditor(); },
            SheetPresenter::Frame{Theme::shadowBlack15(), Theme::cornerRadius});
        fade_ = new OpacityFade(group_, kFadeMs, model.isEnabled(effect));
        showConfig();
    }

    void showConfig() {
        const bool on = model_.isEnabled(effect_);
        toggle_->setOn(on);
        fade_->setShown(on);
        group_->setEnabled(on);
        menu_->setLabel(QString::fromStdString(model_.currentLabel(effect_)));
        configure_->setVisible(model_.isCustom(effect_));
    }

    ToggleSwitchView* toggle_ = nullptr;
    MenuDropdownButton* menu_ = nullptr;
    ConfigureButton* configure_ = nullptr;
    QWidget* group_ = nullptr;
    std::unique_ptr<PopoverPresenter> options_;
    std::unique_ptr<SheetPresenter> editor_;

  private:
    QWidget* menuGroup() {
        group_ = new QWidget(this);
        auto* layout = new QHBoxLayout(group_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(kGroupSpacing);
        auto* caption = themedLabel(captionOf(effect_), Theme::fontRegular14(), group_);
        caption->setMinimumWidth(widest(captionOf));
        layout->addWidget(caption);
        menu_ = new MenuDropdownButton(QString(), group_);
        connect(menu_, &QAbstractButton::clicked, this, [this] { model_.togglePicker(effect_); });
        layout->addWidget(menu_);
        configure_ = new ConfigureButton(group_);
        connect(configure_, &QAbstractButton::clicked, this, [this] { model_.configure(effect_); });
        layout->addWidget(configure_);
        debugOverlay(group_, QStringLiteral("picker:") + nameOf(effect_), DebugColor::teal);
        return group_;
    }

    std::unique_ptr<QWidget> makeEditor() {
        const auto apply = [this] { model_.applyEditor(effect_); };
        const auto cancel = [this] { model_.cancelEditor(effect_); };
        switch (effect_) {
            case FrictionEffectType::fog: {
                auto popup =
                    std::make_unique<FogCustomIntensityPopup>(model_.tempFog, apply, cancel);
                popup->frame()->setShadowed(false);
                return popup;
            }
            case FrictionEffectType::turtle: {
                auto popup =
                    std::make_unique<TurtleCustomIntensityPopup>(model_.tempTurtle, apply, cancel);
                popup->frame()->setShadowed(false);
                return popup;
            }
            case FrictionEffectType::delay:
                break;
        }
        auto popup = std::make_unique<DelayCustomDurationPopup>(
            model_.tempDelaySeconds, model_.tempDelayUnit, apply, cancel);
        popup->frame()->setShadowed(false);
        return popup;
    }

    FrictionEffectType effect_;
    RedListConfigPanelModel& model_;
    OpacityFade* fade_ = nullptr;
};

RedListConfigPanel::RedListConfigPanel(const RedListConfig& config,
                                       RedListConfigPanelModel::Update onUpdate,
                                       bool isParentInverted, QWidget* parent)
    : QWidget(parent), model_(config, std::move(onUpdate)) {
    auto* content = new QWidget();
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const auto effects = allCases<FrictionEffectType>();
    for (std::size_t i = 0; i < effects.size(); ++i) {
        if (i > 0) {
            column->addWidget(new DebugSpacingIndicator(
                QStringLiteral("p3 (") + nameOf(effects[i - 1]) + QStringLiteral("↔") +
                    nameOf(effects[i]) + QStringLiteral(")"),
                kLineGap));
        }
        lines_[i] = new EffectLine(effects[i], model_, isParentInverted, content);
        column->addWidget(lines_[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(padded(content));
    debugOverlay(this, QStringLiteral("RedListConfigPanel"), DebugColor::purple);
    observation_ = model_.config.observe([this](const auto&) {
        for (auto* line : lines_) {
            line->showConfig();
        }
    });
}

// The lines hold the presenters, which watch the model's flags: they go first.
RedListConfigPanel::~RedListConfigPanel() {
    observation_.cancel();
    for (auto*& line : lines_) {
        delete std::exchange(line, nullptr);
    }
}

ToggleSwitchView* RedListConfigPanel::toggle(FrictionEffectType effect) const {
    return lines_[static_cast<std::size_t>(effect)]->toggle_;
}

MenuDropdownButton* RedListConfigPanel::menuButton(FrictionEffectType effect) const {
    return lines_[static_cast<std::size_t>(effect)]->menu_;
}

QAbstractButton* RedListConfigPanel::configureButton(FrictionEffectType effect) const {
    return lines_[static_cast<std::size_t>(effect)]->configure_;
}

QWidget* RedListConfigPanel::menuGroup(FrictionEffectType effect) const {
    return lines_[static_cast<std::size_t>(effect)]->group_;
}

QWidget* RedListConfigPanel::optionList(FrictionEffectType effect) const {
    return lines_[static_cast<std::size_t>(effect)]->options_->popover();
}

QWidget* RedListConfigPanel::editor(FrictionEffectType effect) const {
    return lines_[static_cast<std::size_t>(effect)]->editor_->sheet();
}

void RedListConfigPanel::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::white());
}

}  // namespace olvane::ui
