#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <chrono>
#include <string>

#include "app/AppState.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

class LabelButton;

// The wizard's first screen: the three modules it will set, the time it takes, and "Lancer la
// configuration", which Return presses and which takes the focus just after the screen shows.
// Escape goes back to the home page without asking.
class Screen1_Welcome final : public QWidget {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kFocusDelay{50};

    struct WelcomeModule {
        std::string icon;
        QString name;
        QString description;
    };
    static std::array<WelcomeModule, 3> modules();

    Screen1_Welcome(ConfigurateurViewModel& viewModel, AppState& appState, platform::RunLoop& loop,
                    QWidget* parent = nullptr);

    // Selects the home page directly: no guard is asked.
    void skipToHome();
    LabelButton* startButton() const { return start_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    LabelButton* start_;
    AppState& appState_;
    platform::RunLoop& loop_;
    platform::Handle focusTimer_;
};

}  // namespace olvane::ui
