#pragma once

#include <QColor>
#include <QWidget>

namespace olvane::ui {

// The 8-point dot of an extension status: filled when connected, a one-point ring otherwise.
class StatusDot final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSide = 8;

    explicit StatusDot(QWidget* parent = nullptr);

    bool isFilled() const { return filled_; }
    void setFilled(bool filled);
    QColor color() const { return color_; }
    void setColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool filled_ = false;
    QColor color_;
};

}  // namespace olvane::ui
