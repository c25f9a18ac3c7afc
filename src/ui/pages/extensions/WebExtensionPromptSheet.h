#pragma once

#include <QWidget>
#include <functional>

class QAbstractButton;
class QLabel;

namespace olvane::ui {

class HoverableIconButton;

// The sheet that tells the user that the feature just used needs the browser extension, and
// offers the Extensions page: "Plus tard" (Escape) and the close icon only close it; "Ouvrir la
// page Extensions" (Return) runs the caller's action, which closes it and shows the page.
class WebExtensionPromptSheet final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 420;
    static constexpr int kPadding = 24;

    WebExtensionPromptSheet(std::function<void()> close, std::function<void()> onOpenExtensions,
                            QWidget* parent = nullptr);

    QLabel* title() const { return title_; }
    HoverableIconButton* closeButton() const { return close_; }
    QAbstractButton* laterButton() const { return later_; }
    QAbstractButton* openButton() const { return open_; }

    // As tall as its texts need at its fixed width.
    QSize sizeHint() const override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<void()> dismiss_;
    std::function<void()> openExtensions_;
    QLabel* title_;
    HoverableIconButton* close_;
    QAbstractButton* later_;
    QAbstractButton* open_;
};

}  // namespace olvane::ui
