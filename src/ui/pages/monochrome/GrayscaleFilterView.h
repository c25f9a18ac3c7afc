#pragma once

#include <QWidget>
#include <memory>

#include "platform/Observable.h"
#include "ui/pages/monochrome/GrayscaleFilterViewModel.h"

namespace olvane::platform {
class KeyboardLayout;
}

namespace olvane::ui {

class GrayscaleActivationSection;
class GrayscaleExceptionsSection;
class GrayscaleSettingsSection;
class GrayscaleShortcutsSection;
class SheetPresenter;
class WindowWidth;

// The Monochrome page: its header, then the activation, exceptions, shortcuts and settings
// sections, and the two sheets that add an exception. It makes and owns its model, so each
// opening starts from AppState and the saved settings.
class GrayscaleFilterView final : public QWidget {
    Q_OBJECT

  public:
    // `keyboard` names the pause keys as the user's keyboard shows them.
    GrayscaleFilterView(GrayscaleFilterViewModel::Collaborators collaborators,
                        WindowWidth& windowWidth, platform::KeyboardLayout& keyboard,
                        QWidget* parent = nullptr);
    ~GrayscaleFilterView() override;

    GrayscaleFilterViewModel& viewModel() { return *viewModel_; }
    GrayscaleActivationSection* activation() const { return activation_; }
    GrayscaleExceptionsSection* exceptions() const { return exceptions_; }
    GrayscaleShortcutsSection* shortcuts() const { return shortcuts_; }
    GrayscaleSettingsSection* settings() const { return settings_; }
    // The sheet on screen, if any.
    QWidget* appPicker() const;
    QWidget* sitePicker() const;

    platform::Observable<bool> showAppPicker{false};
    platform::Observable<bool> showSitePicker{false};

  private:
    // Declared after the flags and before the sheets: the sheets go first, the flags last.
    std::unique_ptr<GrayscaleFilterViewModel> viewModel_;
    GrayscaleActivationSection* activation_;
    GrayscaleExceptionsSection* exceptions_;
    GrayscaleShortcutsSection* shortcuts_;
    GrayscaleSettingsSection* settings_;
    std::unique_ptr<SheetPresenter> appPicker_;
    std::unique_ptr<SheetPresenter> sitePicker_;
};

}  // namespace olvane::ui
