#pragma once

#include <QString>
#include <QWidget>

#include "ui/foundation/SliderModel.h"

class QLabel;
class QLineEdit;

namespace olvane::ui {

class SliderTrack;
class SliderValueBox;

// The slider of one numeric setting: the title with the value in a small box that can be typed
// into, and a black-and-white track whose round thumb can be dragged. The caller owns the value:
// setValue() shows a new one, valueEdited() reports each value the user makes (already snapped
// and limited).
class ThemedSlider final : public QWidget {
    Q_OBJECT

  public:
    // `unit` is shown after the value (empty: no unit text); `decimals` fraction digits are
    // shown and parsed. The caller keeps range.lower < range.upper and step > 0.
    ThemedSlider(const QString& label, double value, SliderModel::Range range, double step = 1,
                 const QString& unit = {}, int decimals = 0, QWidget* parent = nullptr);

    double value() const { return model_.value(); }
    void setValue(double value);
    const SliderModel& model() const { return model_; }

    SliderTrack* track() const { return track_; }
    SliderValueBox* valueBox() const { return box_; }

  Q_SIGNALS:
    void valueEdited(double value);

  private:
    friend class SliderTrack;
    friend class SliderValueBox;
    void dragTo(double x, double trackWidth);
    void typed(const QString& text);
    void beginEditing();
    void endEditing();
    void refresh();

    SliderModel model_;
    SliderTrack* track_;
    SliderValueBox* box_;
};

// The rail, its black part up to the thumb, and the thumb, which alone starts a drag.
class SliderTrack final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kHeight = 20;
    static constexpr qreal kThumb = 18;

    explicit SliderTrack(ThemedSlider& slider);
    // The thumb's rectangle for the value shown now.
    QRectF thumbRect() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    ThemedSlider& slider_;
    bool dragging_ = false;
};

// The value with its unit in a white rounded box; a click turns it into a text field.
class SliderValueBox final : public QWidget {
    Q_OBJECT

  public:
    SliderValueBox(ThemedSlider& slider, const QString& unit);

    QLabel* valueLabel() const { return value_; }
    QLineEdit* field() const { return field_; }
    void refresh();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    ThemedSlider& slider_;
    QLabel* value_;
    QLineEdit* field_;
};

}  // namespace olvane::ui
