#include "ui/pages/monochrome/GrayscaleSettingsSection.h"

#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/OlvaneToggleStyle.h"
#include "ui/foundation/PageSection.h"
#include "ui/foundation/SettingTextBlock.h"
#include "ui/foundation/SubtitleAlignedRow.h"
#include "ui/pages/monochrome/GrayscaleFilterViewModel.h"

namespace olvane::ui {
namespace {

// The least space a flexible space keeps between the text and the switch.
constexpr int kMinimumGap = 8;

}  // namespace

GrayscaleSettingsSection::GrayscaleSettingsSection(GrayscaleFilterViewModel& viewModel,
                                                   QWidget* parent)
    : QWidget(parent), switch_(new OlvaneToggleStyle(1.0)) {
    auto* column = PageSection::column(this, QStringLiteral("Paramétrage"));
    switch_->setCheckedAtOnce(viewModel.pauseOnFullscreenVideo());
    switch_->setAccessibleName(QStringLiteral("Exception vidéo"));
    switch_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* row = new SubtitleAlignedRow(
        new SettingTextBlock(QStringLiteral("Exception vidéo"),
                             QStringLiteral("Désactive le filtre lors de la lecture d'une vidéo "
                                            "en plein écran sur internet")),
        switch_, kMinimumGap);
    row->setContentsMargins(PageSection::kInset, 0, PageSection::kInset, 0);
    debugOverlay(row, QStringLiteral("settingRow1"), DebugColor::brown);

    auto* container = new QWidget(this);
    auto* rows = new QVBoxLayout(container);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addWidget(row);
    debugOverlay(container, QStringLiteral("SettingsContainer"), DebugColor::indigo);
    column->addWidget(container);
    column->addWidget(PageSection::gap());
    debugOverlay(this, QStringLiteral("SettingsSection"), DebugColor::pink);

    // Only the user's own switching is saved, not the first display.
    connect(switch_, &QAbstractButton::toggled, this,
            [&viewModel](bool on) { viewModel.setPauseOnFullscreenVideo(on); });
    observation_ =
        viewModel.pauseOnFullscreenVideo.observe([this](bool on) { switch_->setChecked(on); });
}

}  // namespace olvane::ui
