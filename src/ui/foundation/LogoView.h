#pragma once

#include <QWidget>

namespace olvane::ui {

// The logo in a square of the given side, clipped to rounded corners of 8.
class LogoView final : public QWidget {
    Q_OBJECT

  public:
    explicit LogoView(int side, QWidget* parent = nullptr);

    int side() const { return width(); }
    void setSide(int side);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace olvane::ui
