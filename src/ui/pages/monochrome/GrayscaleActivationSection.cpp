#include "ui/pages/monochrome/GrayscaleActivationSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/PageSection.h"
#include "ui/foundation/SectionHeaderLabel.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/monochrome/GrayscaleFilterViewModel.h"
#include "ui/pages/monochrome/MainToggleCard.h"
#include "ui/pages/monochrome/PauseStatusCard.h"

namespace olvane::ui {

GrayscaleActivationSection::GrayscaleActivationSection(GrayscaleFilterViewModel& viewModel,
                                                       QWidget* parent)
    : QWidget(parent), viewModel_(viewModel) {
    auto* column = PageSection::column(this, QStringLiteral("Activation"));
    mainCard_ =
        new MainToggleCard(viewModel_.isFilterActive(), [this] { viewModel_.toggleFilter(); });
    auto* cardBlock = PageSection::padded(mainCard_, this);
    debugOverlay(cardBlock, QStringLiteral("mainToggleCard"), DebugColor::purple);
    column->addWidget(cardBlock);

    pauseGap_ = new DebugSpacingIndicator(QStringLiteral("sectionMargin"), Theme::sectionMargin);
    column->addWidget(pauseGap_);
    pauseCard_ = new PauseStatusCard([this] { viewModel_.resumeFromPause(); });
    pauseBlock_ = PageSection::padded(pauseCard_, this);
    debugOverlay(pauseBlock_, QStringLiteral("pauseStatusCard"), DebugColor::orange);
    column->addWidget(pauseBlock_);
    debugOverlay(this, QStringLiteral("ActivationSection"), DebugColor::green);

    observations_.push_back(
        viewModel_.isFilterActive.observe([this](bool on) { mainCard_->setOn(on); }));
    observations_.push_back(viewModel_.isPaused.observe([this](bool) { showPause(); }));
    observations_.push_back(
        viewModel_.pauseRemainingSeconds.observe([this](const auto&) { showPause(); }));
    showPause();
}

bool GrayscaleActivationSection::isPauseShown() const {
    return !pauseBlock_->isHidden();
}

void GrayscaleActivationSection::showPause() {
    const bool paused = viewModel_.isPaused();
    pauseGap_->setVisible(paused);
    pauseBlock_->setVisible(paused);
    pauseCard_->setRemaining(QString::fromStdString(viewModel_.pauseTimeText()));
}

}  // namespace olvane::ui
