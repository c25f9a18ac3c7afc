#pragma once

#include <QWidget>

#include "platform/Handle.h"

namespace olvane::ui {

class GrayscaleFilterViewModel;
class OlvaneToggleStyle;

// The last section of the Monochrome page: "Exception vidéo", saved at each switch.
class GrayscaleSettingsSection final : public QWidget {
    Q_OBJECT

  public:
    explicit GrayscaleSettingsSection(GrayscaleFilterViewModel& viewModel,
                                      QWidget* parent = nullptr);

    OlvaneToggleStyle* videoSwitch() const { return switch_; }

  private:
    OlvaneToggleStyle* switch_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
