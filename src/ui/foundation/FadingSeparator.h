#pragma once

#include <QVariantAnimation>
#include <QWidget>

namespace olvane::ui {

// The faint line between the rows of a list: half a point thick, 16 points in from both sides,
// with a point of room above and below. It fades out and in (ease-in-out, 0.2 s) without moving
// the rows.
class FadingSeparator final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 200;
    static constexpr int kHeight = 3;

    explicit FadingSeparator(bool lineHidden = false, QWidget* parent = nullptr);

    void setLineHidden(bool hidden);
    bool isLineHidden() const { return hidden_; }
    // The line's opacity now (it moves during the fade).
    qreal opacity() const { return opacity_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool hidden_;
    qreal opacity_;
    QVariantAnimation fade_;
};

}  // namespace olvane::ui
