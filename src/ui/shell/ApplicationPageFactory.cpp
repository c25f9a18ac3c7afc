#include "ui/shell/ApplicationPageFactory.h"

#include "app/AppServices.h"
#include "grayscale/GrayscaleFilterService.h"
#include "ui/configurateur/ConfigurateurView.h"
#include "ui/foundation/IconSources.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/pages/accueil/AccueilView.h"
#include "ui/pages/assainisseur/ContentFilterView.h"
#include "ui/pages/assainisseur/ContentFilterViewModel.h"
#include "ui/pages/contrepoids/FrictionEffectsView.h"
#include "ui/pages/contrepoids/QtDelayTestPanel.h"
#include "ui/pages/contrepoids/ServicesFrictionEngine.h"
#include "ui/pages/extensions/ExtensionsView.h"
#include "ui/pages/extensions/WebExtensionPromptSheet.h"
#include "ui/pages/guide/GuideView.h"
#include "ui/pages/monochrome/GrayscaleFilterView.h"
#include "ui/pages/reglages/SettingsView.h"
#include "ui/pages/reglages/UninstallProgressView.h"
#include "ui/shell/ConfigurateurServices.h"

namespace olvane::ui {

ApplicationPageFactory::ApplicationPageFactory(AppState& appState, platform::RunLoop& loop)
    : appState_(appState), loop_(loop) {}

ApplicationPageFactory::~ApplicationPageFactory() = default;

void ApplicationPageFactory::attachServices(AppServices& services, IconSources& icons) {
    services_ = &services;
    icons_ = &icons;
    configurateur_ = std::make_unique<ConfigurateurServices>(services, appState_);
    friction_ = std::make_unique<ServicesFrictionEngine>(
        services.appMonitoring(), services.frictionEffects(), services.turtle());
}

void ApplicationPageFactory::stopEffectTests() {
    if (frictionPage_) {
        frictionPage_->viewModel().stopTests();
    }
}

std::unique_ptr<QWidget> ApplicationPageFactory::createPage(NavigationItem item,
                                                            WindowWidth& windowWidth) {
    switch (item) {
        case NavigationItem::accueil:
            return std::make_unique<AccueilView>(appState_);
        case NavigationItem::guide:
            return std::make_unique<GuideView>();
        case NavigationItem::configurateur:
            if (configurateur_) {
                return configurateurPage();
            }
            break;
        case NavigationItem::settings:
            if (services_) {
                return settingsPage();
            }
            break;
        case NavigationItem::frictionEffects:
            if (services_) {
                return frictionPage();
            }
            break;
        case NavigationItem::contentFilter:
            if (services_) {
                return contentFilterPage();
            }
            break;
        case NavigationItem::extensions:
            if (services_) {
                return std::make_unique<ExtensionsView>(appState_, extensionsCollaborators());
            }
            break;
        case NavigationItem::grayscaleFilter:
            if (services_) {
                return grayscalePage(windowWidth);
            }
            break;
        default:
            break;
    }
    return frames_.createPage(item);
}

std::unique_ptr<QWidget> ApplicationPageFactory::createUninstallProgress() {
    if (!services_) {
        return frames_.createUninstallProgress();
    }
    return std::make_unique<UninstallProgressView>(services_->uninstallService().currentStepLabel);
}

std::unique_ptr<QWidget> ApplicationPageFactory::createWebExtensionPrompt(
    std::function<void()> openExtensions, std::function<void()> dismiss) {
    return std::make_unique<WebExtensionPromptSheet>(std::move(dismiss), std::move(openExtensions));
}

ExtensionsViewModel::Collaborators ApplicationPageFactory::extensionsCollaborators() {
    return {icons_->installedApps(), urls_, safari_};
}

// A new model at each opening, so the wizard starts from the saved settings.
std::unique_ptr<QWidget> ApplicationPageFactory::configurateurPage() {
    return std::make_unique<ConfigurateurView>(
        std::make_shared<ConfigurateurViewModel>(configurateur_->collaborators()),
        ConfigurateurViewServices{appState_, loop_, icons_->favicons(), icons_->installedApps(),
                                  extensionsCollaborators()});
}

std::unique_ptr<QWidget> ApplicationPageFactory::settingsPage() {
    UninstallService& uninstall = services_->uninstallService();
    return std::make_unique<SettingsView>(SettingsView::Collaborators{
        appState_, SpacingDebugManager::shared(), loop_, [&uninstall] { uninstall.uninstall(); }});
}

// The page's model owns the delay test's panel, which covers the window that shows the page.
std::unique_ptr<QWidget> ApplicationPageFactory::frictionPage() {
    auto page = std::make_unique<FrictionEffectsView>(
        [this](QWidget& view) {
            return FrictionEffectsViewModel::Collaborators{
                loop_,
                services_->settings(),
                services_->rulesFile(),
                *friction_,
                icons_->favicons(),
                services_->extensionAccompaniment(),
                std::make_unique<QtDelayTestPanel>(view, effectWindows_)};
        },
        icons_->installedApps());
    frictionPage_ = page.get();
    return page;
}

std::unique_ptr<QWidget> ApplicationPageFactory::contentFilterPage() {
    FaviconService& favicons = icons_->favicons();
    auto model = std::make_unique<ContentFilterViewModel>(ContentFilterViewModel::Collaborators{
        services_->settings(), services_->rulesFile(), services_->extensionAccompaniment(),
        [&favicons](const std::vector<std::string>& domains) {
            favicons.prefetchFavicons(domains);
        }});
    return std::make_unique<ContentFilterView>(std::move(model), favicons);
}

// Opening the page does not make the grayscale filter: the first action that needs it does.
std::unique_ptr<QWidget> ApplicationPageFactory::grayscalePage(WindowWidth& windowWidth) {
    AppServices& services = *services_;
    return std::make_unique<GrayscaleFilterView>(
        GrayscaleFilterViewModel::Collaborators{
            appState_, services.settings(),
            [&services]() -> GrayscaleFilterService& { return services.grayscale(); },
            icons_->favicons(), icons_->installedApps(), services.extensionAccompaniment()},
        windowWidth, *keyboard_);
}

}  // namespace olvane::ui
