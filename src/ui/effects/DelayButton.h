#pragma once

#include <QAbstractButton>

namespace olvane::ui {

// A button of the delay's waiting screen: its text on a black rounded rectangle (filled) or on
// white inside a black outline (outlined), without any system chrome. It can be drawn part way
// through its appearance: grown from nothing about its centre, and faded in.
class DelayButton final : public QAbstractButton {
    Q_OBJECT

  public:
    enum class Style { filled, outlined };

    DelayButton(const QString& text, Style style, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // 0: not drawn at all; 1: fully there.
    void setAppearance(qreal appearance);
    qreal appearance() const { return appearance_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Style style_;
    qreal appearance_ = 1.0;
};

}  // namespace olvane::ui
