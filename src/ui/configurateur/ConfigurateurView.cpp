#include "ui/configurateur/ConfigurateurView.h"

#include <QVBoxLayout>

#include "ui/configurateur/ConfigurateurExitConfirmationSheet.h"
#include "ui/configurateur/ConfigurateurNavigationGuard.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorBottomActions.h"
#include "ui/configurateur/Screen12_Recap.h"
#include "ui/configurateur/Screen13_Extensions.h"
#include "ui/configurateur/Screen1_Welcome.h"
#include "ui/configurateur/Screen2_MonochromeActivation.h"
#include "ui/configurateur/Screen3_MonochromeApps.h"
#include "ui/configurateur/Screen4_MonochromeSites.h"
#include "ui/configurateur/Screen5_ContrepoidsApps.h"
#include "ui/configurateur/Screen6_ContrepoidsSites.h"
#include "ui/configurateur/Screen7_ContrepoidsIntensity.h"
#include "ui/configurateur/Screen8_11_AssainisseurPlatform.h"
#include "ui/foundation/PageFrame.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/SheetPresenter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

ConfigurateurView::ConfigurateurView(std::shared_ptr<ConfigurateurViewModel> viewModel,
                                     ConfigurateurViewServices services, QWidget* parent)
    : QWidget(parent), viewModel_(std::move(viewModel)), services_(services) {
    setObjectName(QStringLiteral("configurateur"));
    // The wizard takes the whole height of the window, its bar at the foot.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto* frame = new PageFrame(new PageHeader(QStringLiteral("Configurateur"), std::nullopt));
    content_ = frame;
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(frame);

    auto* area = new QWidget(frame);
    area->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    screenArea_ = new QVBoxLayout(area);
    screenArea_->setContentsMargins(0, 0, 0, 0);
    screenArea_->setSpacing(0);
    bottomActions_ = new ConfiguratorBottomActions(*viewModel_, services_.appState, *this, area);
    screenArea_->addWidget(bottomActions_);
    frame->column()->addWidget(area, 1);

    exitPresenter_ = std::make_unique<SheetPresenter>(
        *this, exitSheetShown_,
        [this] {
            return std::make_unique<ConfigurateurExitConfirmationSheet>(
                [this] { quitToPendingTarget(); }, [this] { continueEditing(); },
                QString::fromUtf8(kTitleText), QString::fromUtf8(kMessageText));
        },
        SheetPresenter::Frame{Theme::shadowBlack15(),
                              ConfigurateurExitConfirmationSheet::kCornerRadius});
    // Escape and the window's close clear the flag: the same as "Reprendre".
    observations_.push_back(exitSheetShown_.observe([this](bool shown) {
        if (!shown) {
            continueEditing();
        }
    }));
    observations_.push_back(viewModel_->pendingExitTarget.observe(
        [this](const auto& target) { exitSheetShown_.set(target.has_value()); }));
    observations_.push_back(
        viewModel_->currentScreenIndex.observe([this](int index) { showScreen(index); }));
    showScreen(viewModel_->currentScreenIndex());
}

ConfigurateurView::~ConfigurateurView() {
    ConfigurateurNavigationGuard::remove(services_.appState, viewModel_);
    observations_.clear();
    exitPresenter_.reset();
    // The screens and the bar observe the model: they go before it.
    delete content_;
}

ConfigurateurExitConfirmationSheet* ConfigurateurView::exitSheet() const {
    return qobject_cast<ConfigurateurExitConfirmationSheet*>(exitPresenter_->sheet());
}

void ConfigurateurView::quitToPendingTarget() {
    const auto target = viewModel_->pendingExitTarget();
    viewModel_->pendingExitTarget.set(std::nullopt);
    if (target) {
        services_.appState.selectedNavigationItem.set(*target);
    }
}

void ConfigurateurView::continueEditing() {
    viewModel_->pendingExitTarget.set(std::nullopt);
}

void ConfigurateurView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ConfigurateurNavigationGuard::install(services_.appState, viewModel_);
}

void ConfigurateurView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    ConfigurateurNavigationGuard::remove(services_.appState, viewModel_);
}

void ConfigurateurView::showScreen(int index) {
    // The old screen may be running the click that moved on: it goes after it.
    if (screen_) {
        screenArea_->removeWidget(screen_);
        screen_->hide();
        screen_->deleteLater();
    }
    screen_ = makeScreen(index);
    screenArea_->insertWidget(0, screen_, 1);
    screen_->show();
    bottomActions_->setVisible(BottomActionsRules::layout(index) !=
                               BottomActionsRules::Layout::none);
}

QWidget* ConfigurateurView::makeScreen(int index) {
    auto& model = *viewModel_;
    auto& icons = services_.favicons;
    auto& apps = services_.installedApps;
    switch (index) {
        case 1:
            return new Screen1_Welcome(model, services_.appState, services_.loop);
        case 2:
            return new Screen2_MonochromeActivation(model);
        case 3:
            return new Screen3_MonochromeApps(model, apps);
        case 4:
            return new Screen4_MonochromeSites(model, icons);
        case 5:
            return new Screen5_ContrepoidsApps(model, apps);
        case 6:
            return new Screen6_ContrepoidsSites(model, icons);
        case 7:
            return new Screen7_ContrepoidsIntensity(model, icons, apps);
        case 8:
            return new Screen8_11_AssainisseurPlatform(model, Platform::youtube);
        case 9:
            return new Screen8_11_AssainisseurPlatform(model, Platform::instagram);
        case 10:
            return new Screen8_11_AssainisseurPlatform(model, Platform::linkedin);
        case 11:
            return new Screen8_11_AssainisseurPlatform(model, Platform::facebook);
        case ConfigurateurViewModel::kRecapScreen:
            return new Screen12_Recap(model, {icons, apps});
        case ConfigurateurViewModel::kExtensionsScreen:
            return new Screen13_Extensions(services_.appState, services_.extensions);
        default:
            return new QWidget();
    }
}

}  // namespace olvane::ui
