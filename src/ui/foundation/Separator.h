#pragma once

#include <QColor>
#include <QWidget>

namespace olvane::ui {

// A one-point line, horizontal or vertical, in a theme colour.
class Separator final : public QWidget {
    Q_OBJECT

  public:
    Separator(Qt::Orientation orientation, QColor color, QWidget* parent = nullptr);
    // The light line between blocks: black at 0.1.
    static Separator* divider(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
};

}  // namespace olvane::ui
