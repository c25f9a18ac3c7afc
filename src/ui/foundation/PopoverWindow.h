#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

namespace olvane::ui {

// The frameless window of a popover: a white card with rounded corners and a black outline
// around its content. Built by PopoverPresenter.
class PopoverWindow final : public QWidget {
    Q_OBJECT

  public:
    // `takesInput` false: a window that neither takes the focus nor grabs the pointer, and lets
    // every click through. True: a popup that closes on a click outside it.
    PopoverWindow(QWidget* anchor, QWidget* content, bool takesInput);

    // Called once when the window closes by itself (a click outside, Escape).
    void setOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }
    // Closes without calling onClosed.
    void dismiss();
    void showUnderAnchor();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPointer<QWidget> anchor_;
    bool translucent_;
    std::function<void()> onClosed_;
};

}  // namespace olvane::ui
