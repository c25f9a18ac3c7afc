#include "ui/shell/ApplicationPageFactory.h"

#include "ui/shell/ConfigurateurServices.h"

namespace olvane::ui {
namespace {

// Keeps a page's model for as long as the page lives.
template <typename Model>
class PageModel final : public QObject {
  public:
    PageModel(std::unique_ptr<Model> model, QWidget& page)
        : QObject(&page), model_(std::move(model)) {}

  private:
    std::unique_ptr<Model> model_;
};

}  // namespace

ApplicationPageFactory::ApplicationPageFactory(AppState& appState) : appState_(appState) {}

ApplicationPageFactory::~ApplicationPageFactory() = default;

void ApplicationPageFactory::attachServices(AppServices& services) {
    configurateur_ = std::make_unique<ConfigurateurServices>(services, appState_);
}

std::unique_ptr<QWidget> ApplicationPageFactory::createPage(NavigationItem item) {
    switch (item) {
        case NavigationItem::configurateur:
            if (configurateur_) {
                return configurateurPage();
            }
            break;
        default:
            break;
    }
    return frames_.createPage(item);
}

std::unique_ptr<QWidget> ApplicationPageFactory::createUninstallProgress() {
    return frames_.createUninstallProgress();
}

std::unique_ptr<QWidget> ApplicationPageFactory::createWebExtensionPrompt(
    std::function<void()> openExtensions, std::function<void()> dismiss) {
    return frames_.createWebExtensionPrompt(std::move(openExtensions), std::move(dismiss));
}

// A new model at each opening, so the wizard starts from the saved settings.
std::unique_ptr<QWidget> ApplicationPageFactory::configurateurPage() {
    auto page = frames_.createPage(NavigationItem::configurateur);
    new PageModel(std::make_unique<ConfigurateurViewModel>(configurateur_->collaborators()), *page);
    return page;
}

}  // namespace olvane::ui
