#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QLabel;

namespace olvane::ui {

class LabelButton;

// Asks before the wizard is left with choices not activated: "Quitter" leaves them, "Reprendre"
// (also Escape) stays. A white rounded card 400 wide; its presenter gives it its shadow.
class ConfigurateurExitConfirmationSheet final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 400;
    static constexpr qreal kCornerRadius = 8;

    ConfigurateurExitConfirmationSheet(std::function<void()> onQuit,
                                       std::function<void()> onContinue, const QString& titleText,
                                       const QString& messageText, QWidget* parent = nullptr);

    QString titleText() const;
    QString messageText() const { return messageText_; }
    LabelButton* quitButton() const { return quit_; }
    LabelButton* continueButton() const { return continue_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* title_;
    QString messageText_;
    LabelButton* quit_;
    LabelButton* continue_;
};

}  // namespace olvane::ui
