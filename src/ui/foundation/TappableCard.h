#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

namespace olvane::ui {

// A card that acts on a single click anywhere on it, its children included: a rounded
// rectangle (radius 8) filled and outlined 1.5 wide, growing slightly under the pointer. The
// children lay themselves out on it; texts and symbols let the clicks through.
class TappableCard : public QWidget {
    Q_OBJECT

  public:
    explicit TappableCard(std::function<void()> onTap, QWidget* parent = nullptr);

    void setColors(const QColor& fill, const QColor& outline);
    QColor fill() const { return fill_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::function<void()> onTap_;
    QColor fill_;
    QColor outline_;
};

}  // namespace olvane::ui
