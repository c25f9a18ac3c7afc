#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace olvane::ui {

// The rules of the themed slider, without widgets: how a value is written in the current
// locale, where a drag or a typed text puts the value, and the value box's editing. Every value
// it writes is snapped to a multiple of the step, limited to the range and finite.
class SliderModel {
  public:
    struct Range {
        double lower;
        double upper;
    };

    // The caller keeps lower < upper and step > 0.
    SliderModel(Range range, double step, int decimals, double value,
                const QLocale& locale = QLocale());

    // The text of a value: `decimals` fraction digits in the locale's writing (grouping
    // included), or with 0 decimals the whole part in plain digits, never grouped.
    QString format(double value) const;
    // Snapped to the step (halves away from zero) and limited to the range; none when not
    // finite.
    std::optional<double> snapped(double raw) const;
    // The value for a pointer at `x` from the track's leading edge; none while the track has no
    // width or the position is not a number.
    std::optional<double> dragValue(double x, double trackWidth) const;
    // The value a typed text asks for; none when the text is no finite number of the locale.
    std::optional<double> typedValue(const QString& text) const;
    // Where the value sits on the track, 0 to 1.
    double fraction(double value) const;

    double value() const { return value_; }
    // The caller's value changed: the box shows it unless it is being edited.
    void setValue(double value);
    bool isEditing() const { return editing_; }
    // What the value box shows, or holds while editing.
    QString text() const { return text_; }

    // Each returns whether the value changed.
    bool drag(double x, double trackWidth);
    bool type(const QString& text);
    void beginEditing();
    void endEditing();

    Range range() const { return range_; }

  private:
    bool write(std::optional<double> value);

    Range range_;
    double step_;
    int decimals_;
    QLocale locale_;
    double value_;
    bool editing_ = false;
    QString text_;
};

}  // namespace olvane::ui
