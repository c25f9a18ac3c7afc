#pragma once

#include <QPointer>
#include <memory>

#include "app/AppState.h"
#include "platform/RunLoop.h"
#include "platform/linux/NoSafariApplication.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "ui/foundation/PageFactory.h"
#include "ui/foundation/PageFrames.h"
#include "ui/pages/extensions/DesktopUrlOpener.h"
#include "ui/pages/extensions/ExtensionsViewModel.h"

namespace olvane {
class AppServices;
}

namespace olvane::ui {

class ConfigurateurServices;
class FrictionEffectsView;
class IconSources;
class ServicesFrictionEngine;
class X11EffectWindows;

// The program's pages, each made anew at every opening with a new model over the program's
// services; a page not built yet is its frame.
class ApplicationPageFactory final : public PageFactory {
  public:
    ApplicationPageFactory(AppState& appState, platform::RunLoop& loop);
    ~ApplicationPageFactory() override;
    ApplicationPageFactory(const ApplicationPageFactory&) = delete;
    ApplicationPageFactory& operator=(const ApplicationPageFactory&) = delete;

    // The services need the menu bar of the shell that holds this factory, so they come after
    // it; until then only the pages that need none are built (the window opens on the home
    // page).
    void attachServices(AppServices& services, IconSources& icons);
    // How the delay test's panel is dressed on X11; null (the default) without X11.
    void setEffectWindows(X11EffectWindows* windows) { effectWindows_ = windows; }
    // The layout the pause keys are named after; until set, none can be read (AZERTY names).
    void setKeyboardLayout(platform::KeyboardLayout& keyboard) { keyboard_ = &keyboard; }
    // Ends the Contrepoids page's five-second tests while the services still stand: the
    // program is quitting and the page would only go after them.
    void stopEffectTests();

    std::unique_ptr<QWidget> createPage(NavigationItem item, WindowWidth& windowWidth) override;
    std::unique_ptr<QWidget> createUninstallProgress() override;
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> openExtensions,
                                                      std::function<void()> dismiss) override;

    // What every list of browser cards is made with (the Extensions page, the wizard's last
    // screen). Only once the services are attached.
    ExtensionsViewModel::Collaborators extensionsCollaborators();

  private:
    std::unique_ptr<QWidget> configurateurPage();
    std::unique_ptr<QWidget> contentFilterPage();
    std::unique_ptr<QWidget> frictionPage();
    std::unique_ptr<QWidget> settingsPage();
    std::unique_ptr<QWidget> grayscalePage(WindowWidth& windowWidth);

    AppState& appState_;
    platform::RunLoop& loop_;
    AppServices* services_ = nullptr;
    IconSources* icons_ = nullptr;
    PageFrames frames_;
    std::unique_ptr<ConfigurateurServices> configurateur_;
    std::unique_ptr<ServicesFrictionEngine> friction_;
    X11EffectWindows* effectWindows_ = nullptr;
    platform::sim::SimKeyboardLayout unreadableKeyboard_;
    platform::KeyboardLayout* keyboard_ = &unreadableKeyboard_;
    QPointer<FrictionEffectsView> frictionPage_;
    DesktopUrlOpener urls_;
    platform::os::NoSafariApplication safari_{loop_};
};

}  // namespace olvane::ui
