#pragma once

#include <QWidget>

namespace olvane::ui {

// The wizard's progress: one square per module (done with a check mark, current with a dot,
// upcoming empty) and, inside a module, its name and the step. Read out as one element.
class ConfiguratorProgressBar final : public QWidget {
    Q_OBJECT

  public:
    ConfiguratorProgressBar(int currentScreenIndex, int indicatorSide, int currentDotSide,
                            QWidget* parent = nullptr);

    int currentScreenIndex() const { return screen_; }
    void setCurrentScreenIndex(int screen);
    // "Contrepoids · 2 / 3", or empty.
    QString caption() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int indicatorsWidth() const;

    int screen_;
    int indicatorSide_;
    int currentDotSide_;
};

}  // namespace olvane::ui
