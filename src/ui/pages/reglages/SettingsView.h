#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/AppState.h"
#include "platform/Handle.h"
#include "platform/Observable.h"
#include "platform/RunLoop.h"

namespace olvane::ui {

class LabelButton;
class SheetPresenter;
class SpacingDebugManager;
class UninstallConfirmationSheet;
class VersionRow;

// The settings page: the version (whose number also switches the spacing debug) and the way to
// uninstall, behind a typed confirmation. It reads and saves no settings.
class SettingsView final : public QWidget {
    Q_OBJECT

  public:
    struct Collaborators {
        AppState& appState;
        SpacingDebugManager& spacingDebug;
        platform::RunLoop& loop;
        // The uninstall itself; the confirmation starts it.
        std::function<void()> uninstall;
    };

    explicit SettingsView(Collaborators collaborators, QWidget* parent = nullptr);
    ~SettingsView() override;

    // Whether the uninstall confirmation is shown; it clears this itself when it closes.
    platform::Observable<bool> showUninstallSheet{false};

    VersionRow* versionRow() const { return versionRow_; }
    LabelButton* uninstallButton() const { return uninstallButton_; }
    // The confirmation on screen; null while none is.
    UninstallConfirmationSheet* sheet() const;

  private:
    QWidget* buildUninstallRow();
    void followUninstalling(bool uninstalling);

    Collaborators c_;
    VersionRow* versionRow_ = nullptr;
    LabelButton* uninstallButton_ = nullptr;
    std::unique_ptr<SheetPresenter> presenter_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
