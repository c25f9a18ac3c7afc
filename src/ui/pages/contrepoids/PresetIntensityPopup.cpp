#include "ui/pages/contrepoids/PresetIntensityPopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include "ui/foundation/CustomIntensityPopup.h"
#include "ui/foundation/PopoverPresenter.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/ThemedSlider.h"
#include "ui/pages/contrepoids/DropdownOptionList.h"
#include "ui/pages/contrepoids/MenuDropdownButton.h"

namespace olvane::ui {
namespace {

constexpr int kSpacing = 16;
constexpr int kRowSpacing = 8;

}  // namespace

PresetIntensityPopup::PresetIntensityPopup(const QString& title,
                                           std::unique_ptr<PresetEditorModel> model,
                                           const std::vector<SliderSetting>& sliders,
                                           std::function<void()> onApply,
                                           std::function<void()> onCancel, QWidget* parent)
    : QWidget(parent), model_(std::move(model)) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* content = new QWidget();
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSpacing);
    column->addWidget(presetRow());
    const auto& values = model_->working();
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        const SliderSetting& setting = sliders[i];
        auto* slider =
            new ThemedSlider(setting.label, i < values.size() ? values[i] : 0, setting.range,
                             setting.step, setting.unit, setting.decimals);
        connect(slider, &ThemedSlider::valueEdited, this,
                [this, i](double value) { model_->setWorkingValue(i, value); });
        sliders_.push_back(slider);
        column->addWidget(slider);
    }
    frame_ = new CustomIntensityPopup(
        title, content,
        [this, apply = std::move(onApply)] {
            if (model_->applyValues() && apply) {
                apply();
            }
        },
        std::move(onCancel), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    presets_ = std::make_unique<PopoverPresenter>(
        dropdown_, model_->showPresetPicker, PopoverPresenter::Kind::click, [this] {
            std::vector<DropdownOptionList::Option> options;
            const auto matching = model_->matchingPreset();
            const auto& presets = model_->presets();
            for (std::size_t i = 0; i < presets.size(); ++i) {
                options.push_back({QString::fromStdString(presets[i].label), matching == i});
            }
            options.push_back({QStringLiteral("Personnalisée"), !matching});
            return new DropdownOptionList(options, [this](std::size_t index) {
                model_->selectPreset(index);
                model_->showPresetPicker.set(false);
            });
        });
    observation_ = model_->working.observe([this](const auto&) { showValues(); });
    showValues();
}

PresetIntensityPopup::~PresetIntensityPopup() {
    presets_.reset();
}

QWidget* PresetIntensityPopup::presetRow() {
    auto* row = new QWidget();
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kRowSpacing);
    layout->addWidget(
        themedLabel(QStringLiteral("Intensité préconfigurée :"), Theme::fontRegular14(), row));
    layout->addStretch(1);
    dropdown_ = new MenuDropdownButton(QString(), row);
    connect(dropdown_, &QAbstractButton::clicked, this,
            [this] { model_->showPresetPicker.set(!model_->showPresetPicker()); });
    layout->addWidget(dropdown_);
    return row;
}

QWidget* PresetIntensityPopup::presetList() const {
    return presets_->popover();
}

QSize PresetIntensityPopup::sizeHint() const {
    // The frame's width is fixed: its hint alone would be its content's.
    return frame_->sizeHint().expandedTo(frame_->minimumSize()).boundedTo(frame_->maximumSize());
}

void PresetIntensityPopup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        model_->loadValues();
    }
}

void PresetIntensityPopup::showValues() {
    dropdown_->setLabel(QString::fromStdString(model_->dropdownLabel()));
    const auto& values = model_->working();
    for (std::size_t i = 0; i < sliders_.size() && i < values.size(); ++i) {
        sliders_[i]->setValue(values[i]);
    }
}

}  // namespace olvane::ui
