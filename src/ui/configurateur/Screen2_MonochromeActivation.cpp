#include "ui/configurateur/Screen2_MonochromeActivation.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorButtons.h"
#include "ui/configurateur/ConfiguratorQuestionCard.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 20;
constexpr int kSpacing = 12;

LabelButton::Style outlinedPrimary() {
    auto style = ConfiguratorButtons::primary();
    style.outline = Theme::black();
    return style;
}

}  // namespace

Screen2_MonochromeActivation::Screen2_MonochromeActivation(ConfigurateurViewModel& viewModel,
                                                           QWidget* parent)
    : QWidget(parent), viewModel_(viewModel) {
    auto* answer = new QWidget();
    auto* row = new QHBoxLayout(answer);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(kSpacing);
    later_ = ConfiguratorButtons::make(
        QStringLiteral("Plus tard"), ConfiguratorButtons::secondary(),
        [this] { declineGrayscale(); }, answer);
    yes_ = ConfiguratorButtons::make(
        QStringLiteral("Oui"), outlinedPrimary(), [this] { acceptGrayscale(); }, answer);
    row->addStretch(1);
    row->addWidget(later_);
    row->addWidget(yes_);
    row->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new ConfiguratorQuestionCard(
        QStringLiteral("Souhaites-tu passer l'écran en noir et blanc ?"), "circle.lefthalf.filled",
        answer));
    column->addStretch(1);
}

void Screen2_MonochromeActivation::declineGrayscale() {
    viewModel_.wantsGrayscaleEnabled.set(false);
    viewModel_.grayscaleAllowedAppsDraft.set({});
    viewModel_.grayscaleAllowedSitesDraft.set({});
    viewModel_.goNext();
}

void Screen2_MonochromeActivation::acceptGrayscale() {
    viewModel_.wantsGrayscaleEnabled.set(true);
    viewModel_.goNext();
}

}  // namespace olvane::ui
