#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "platform/Handle.h"
#include "platform/Observable.h"
#include "ui/configurateur/ConfigurateurViewServices.h"

class QVBoxLayout;

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

class ConfigurateurExitConfirmationSheet;
class ConfiguratorBottomActions;
class SheetPresenter;

// The Configurateur page: the screen of the model's current index under the page's header, the
// bottom bar under screens 2 to 12, and the guard that keeps unsaved choices from being left
// without a word. The guard is in place while the page is shown; leaving with pending changes
// opens the exit confirmation.
class ConfigurateurView final : public QWidget {
    Q_OBJECT

  public:
    static constexpr const char* kTitleText =
        "Quitter le Configurateur sans activer cette configuration ?";
    static constexpr const char* kMessageText =
        "Tes choix en cours seront perdus. Tu pourras relancer le Configurateur à tout moment.";

    ConfigurateurView(std::shared_ptr<ConfigurateurViewModel> viewModel,
                      ConfigurateurViewServices services, QWidget* parent = nullptr);
    ~ConfigurateurView() override;

    ConfigurateurViewModel& viewModel() const { return *viewModel_; }
    // The screen shown; an empty widget where there is none yet.
    QWidget* currentScreen() const { return screen_; }
    ConfiguratorBottomActions* bottomActions() const { return bottomActions_; }
    // The exit confirmation on screen; null while none is.
    ConfigurateurExitConfirmationSheet* exitSheet() const;

    // "Quitter": leaves for the page that was asked for, without asking the guard again.
    void quitToPendingTarget();
    // "Reprendre": stays where the user was.
    void continueEditing();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void showScreen(int index);
    QWidget* makeScreen(int index);

    std::shared_ptr<ConfigurateurViewModel> viewModel_;
    ConfigurateurViewServices services_;
    QWidget* content_;
    QVBoxLayout* screenArea_;
    QWidget* screen_ = nullptr;
    ConfiguratorBottomActions* bottomActions_;
    platform::Observable<bool> exitSheetShown_{false};
    std::unique_ptr<SheetPresenter> exitPresenter_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
