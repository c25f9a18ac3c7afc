#pragma once

#include <QWidget>
#include <memory>

#include "app/AppState.h"
#include "platform/Handle.h"
#include "ui/foundation/PageFactory.h"
#include "ui/foundation/WindowWidth.h"

class QScrollArea;
class QStackedLayout;
class QVBoxLayout;

namespace olvane::ui {

class SheetPresenter;
class SidebarView;
class SpacingDebugManager;

// The content of the main window: the sidebar, a black one-point line and the selected page;
// only the uninstall progress while an uninstall runs. A new page is built each time one is
// selected and each time spacing debug is switched; every page but the home page scrolls. The
// sidebar and the first page wait until the view is first shown (or asked for), and are built
// before it paints.
class MainWindowView final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kMinimumWidth = 970;
    static constexpr int kMinimumHeight = 670;

    MainWindowView(AppState& appState, PageFactory& pages, QWidget* parent = nullptr);
    // `spacingDebug` switches the spacing-debug drawing: its page is rebuilt then.
    MainWindowView(AppState& appState, PageFactory& pages, SpacingDebugManager& spacingDebug,
                   QWidget* parent = nullptr);
    ~MainWindowView() override;

    // Built now if it is still waiting, as is the page.
    SidebarView* sidebar() const;
    // The page shown now (inside its scroll area, if any), built now if it is still waiting.
    QWidget* currentPage() const;
    bool isPageScrollable() const;
    bool isShowingUninstallProgress() const;
    WindowWidth& windowWidth() { return windowWidth_; }
    // The extension prompt on screen, as a sheet over the window; null while none is.
    QWidget* webExtensionPrompt() const;

    // The action of the extension prompt: close it, then go to the Extensions page without
    // asking the navigation guard.
    void openExtensionsFromPrompt();

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void showPage(NavigationItem item);
    void buildContent();
    void buildPage(NavigationItem item);
    void showUninstallState();
    std::unique_ptr<QWidget> buildPrompt();

    AppState& appState_;
    PageFactory& pages_;
    QStackedLayout* stack_;
    QWidget* content_ = nullptr;
    SidebarView* sidebar_ = nullptr;
    QVBoxLayout* detail_ = nullptr;
    QWidget* detailHost_ = nullptr;
    QWidget* page_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    std::unique_ptr<QWidget> uninstall_;
    std::unique_ptr<SheetPresenter> prompt_;
    WindowWidth windowWidth_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
