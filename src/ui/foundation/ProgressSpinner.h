#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace olvane::ui {

// The indeterminate progress indicator: twelve spokes around a circle, the brightest one
// stepping round while the spinner is shown.
class ProgressSpinner final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSpokes = 12;
    static constexpr int kStepMs = 83;  // one turn a second

    // `side` in points; `color` tints every spoke.
    explicit ProgressSpinner(qreal side, QColor color = Qt::black, QWidget* parent = nullptr);

    int step() const { return step_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QColor color_;
    QTimer timer_;
    int step_ = 0;
};

}  // namespace olvane::ui
