#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Handle.h"
#include "ui/foundation/SliderModel.h"
#include "ui/pages/contrepoids/PresetEditorModel.h"

namespace olvane::ui {

class CustomIntensityPopup;
class MenuDropdownButton;
class PopoverPresenter;
class ThemedSlider;

// The editor of a custom fog or turtle in the intensity popup's frame: "Intensité
// préconfigurée :" with a dropdown of the presets, then one slider per value. The sliders and
// presets change only the editor's copies; "Appliquer" writes them to the caller and calls
// `onApply`, "Annuler" calls `onCancel`. The copies are loaded each time it comes on screen.
class PresetIntensityPopup : public QWidget {
    Q_OBJECT

  public:
    struct SliderSetting {
        QString label;
        SliderModel::Range range;
        double step;
        QString unit;
        int decimals;
    };

    PresetIntensityPopup(const QString& title, std::unique_ptr<PresetEditorModel> model,
                         const std::vector<SliderSetting>& sliders, std::function<void()> onApply,
                         std::function<void()> onCancel, QWidget* parent = nullptr);
    ~PresetIntensityPopup() override;

    PresetEditorModel& model() { return *model_; }
    CustomIntensityPopup* frame() const { return frame_; }
    MenuDropdownButton* dropdown() const { return dropdown_; }
    const std::vector<ThemedSlider*>& sliders() const { return sliders_; }
    // The preset list while it shows.
    QWidget* presetList() const;

    QSize sizeHint() const override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* presetRow();
    void showValues();

    std::unique_ptr<PresetEditorModel> model_;
    MenuDropdownButton* dropdown_ = nullptr;
    std::vector<ThemedSlider*> sliders_;
    CustomIntensityPopup* frame_;
    std::unique_ptr<PopoverPresenter> presets_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
