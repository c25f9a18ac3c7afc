#pragma once

#include <QWidget>

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

class LabelButton;

// Whether the screen should turn black and white: "Plus tard" drops the wish and its exceptions,
// "Oui" keeps the exceptions already chosen; both move on.
class Screen2_MonochromeActivation final : public QWidget {
    Q_OBJECT

  public:
    explicit Screen2_MonochromeActivation(ConfigurateurViewModel& viewModel,
                                          QWidget* parent = nullptr);

    void declineGrayscale();
    void acceptGrayscale();

    LabelButton* laterButton() const { return later_; }
    LabelButton* yesButton() const { return yes_; }

  private:
    ConfigurateurViewModel& viewModel_;
    LabelButton* later_;
    LabelButton* yes_;
};

}  // namespace olvane::ui
