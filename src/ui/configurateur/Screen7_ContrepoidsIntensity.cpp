#include "ui/configurateur/Screen7_ContrepoidsIntensity.h"

#include <QVBoxLayout>

#include "ui/configurateur/AnswerScrollArea.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorQuestionCard.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingBottom = 8;

}  // namespace

Screen7_ContrepoidsIntensity::Screen7_ContrepoidsIntensity(ConfigurateurViewModel& viewModel,
                                                           FaviconService& favicons,
                                                           InstalledAppsService& apps,
                                                           QWidget* parent)
    : QWidget(parent),
      viewModel_(viewModel),
      favicons_(favicons),
      apps_(apps),
      scroll_(new AnswerScrollArea(QMargins(0, 0, 0, kPaddingBottom))),
      rows_(std::make_unique<KeyedRows<Uuid, IntensityRow>>(*scroll_->column(), 0)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new ConfiguratorQuestionCard(
        QStringLiteral("Quelle intensité souhaites-tu appliquer aux contrepoids de chaque cible ?"),
        "scalemass.fill", scroll_));
    column->addStretch(1);
    showRows();
    observation_ = viewModel_.redListTargetsDraft.observe([this](const auto&) { showRows(); });
}

void Screen7_ContrepoidsIntensity::showRows() {
    const auto& targets = viewModel_.redListTargetsDraft();
    rows_->show(ContrepoidsTargetDraft::idsOf(targets), [&](const Uuid& id) {
        return new IntensityRow(
            ContrepoidsTargetDraft::withId(targets, id),
            [this, id](IntensityLevel level) { viewModel_.setIntensity(level, id); }, favicons_,
            apps_);
    });
    for (const auto& draft : targets) {
        rows_->row(draft.id)->setDraft(draft);
    }
}

}  // namespace olvane::ui
