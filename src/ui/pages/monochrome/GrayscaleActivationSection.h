#pragma once

#include <QWidget>
#include <vector>

#include "platform/Handle.h"

namespace olvane::ui {

class DebugSpacingIndicator;
class GrayscaleFilterViewModel;
class MainToggleCard;
class PauseStatusCard;

// The first section of the Monochrome page: the card that switches the filter and, while a
// keyboard pause runs, the card with the time left.
class GrayscaleActivationSection final : public QWidget {
    Q_OBJECT

  public:
    explicit GrayscaleActivationSection(GrayscaleFilterViewModel& viewModel,
                                        QWidget* parent = nullptr);

    MainToggleCard* mainCard() const { return mainCard_; }
    PauseStatusCard* pauseCard() const { return pauseCard_; }
    bool isPauseShown() const;

  private:
    void showPause();

    GrayscaleFilterViewModel& viewModel_;
    MainToggleCard* mainCard_;
    DebugSpacingIndicator* pauseGap_;
    QWidget* pauseBlock_;
    PauseStatusCard* pauseCard_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
