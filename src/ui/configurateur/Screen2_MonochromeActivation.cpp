#include "ui/configurateur/Screen2_MonochromeActivation.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorButton.h"
#include "ui/configurateur/ConfiguratorQuestionCard.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 20;
constexpr int kSpacing = 12;

ConfiguratorButton::Look outlinedPrimary() {
    auto look = ConfiguratorButton::primary();
    look.outline = Theme::black();
    look.outlineWidth = Theme::outlineWidth;
    return look;
}

}  // namespace

Screen2_MonochromeActivation::Screen2_MonochromeActivation(ConfigurateurViewModel& viewModel,
                                                           QWidget* parent)
    : QWidget(parent), viewModel_(viewModel) {
    auto* answer = new QWidget();
    auto* row = new QHBoxLayout(answer);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(kSpacing);
    later_ = new ConfiguratorButton(
        QStringLiteral("Plus tard"), ConfiguratorButton::secondary(),
        [this] { declineGrayscale(); }, answer);
    yes_ = new ConfiguratorButton(
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
