#include "ui/foundation/SliderModel.h"

#include <algorithm>
#include <cmath>

namespace olvane::ui {

SliderModel::SliderModel(Range range, double step, int decimals, double value,
                         const QLocale& locale)
    : range_(range), step_(step), decimals_(decimals), locale_(locale), value_(value) {
    text_ = format(value_);
}

QString SliderModel::format(double value) const {
    if (decimals_ != 0) {
        const QString text = locale_.toString(value, 'f', decimals_);
        if (!text.isEmpty()) {
            return text;
        }
    }
    if (!std::isfinite(value)) {
        return {};
    }
    // Truncated as a double: no integer conversion, so no value is out of range. Adding 0 turns
    // -0 into 0.
    return QString::number(std::trunc(value) + 0.0, 'f', 0);
}

std::optional<double> SliderModel::snapped(double raw) const {
    if (!std::isfinite(raw)) {
        return std::nullopt;
    }
    const double multiple = step_ * std::round(raw / step_);
    const double limited = std::min(std::max(multiple, range_.lower), range_.upper);
    if (!std::isfinite(limited)) {
        return std::nullopt;
    }
    return limited;
}

std::optional<double> SliderModel::dragValue(double x, double trackWidth) const {
    if (!(trackWidth > 0) || !std::isfinite(trackWidth) || !std::isfinite(x)) {
        return std::nullopt;
    }
    const double fraction = std::clamp(x / trackWidth, 0.0, 1.0);
    return snapped(range_.lower + (range_.upper - range_.lower) * fraction);
}

std::optional<double> SliderModel::typedValue(const QString& text) const {
    QString typed = text.trimmed();
    // Where thousands are grouped by a space, any space typed between them is that space.
    const QString group = locale_.groupSeparator();
    if (group.size() == 1 && group.front().isSpace()) {
        for (const QChar space : {QChar(u' '), QChar(0x00A0), QChar(0x202F)}) {
            typed.replace(space, group.front());
        }
    }
    bool ok = false;
    const double number = locale_.toDouble(typed, &ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    return snapped(number);
}

double SliderModel::fraction(double value) const {
    const double width = range_.upper - range_.lower;
    const double f = (value - range_.lower) / width;
    return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0;
}

void SliderModel::setValue(double value) {
    value_ = value;
    if (!editing_) {
        text_ = format(value_);
    }
}

bool SliderModel::write(std::optional<double> value) {
    if (!value || *value == value_) {
        return false;
    }
    setValue(*value);
    return true;
}

bool SliderModel::drag(double x, double trackWidth) {
    return write(dragValue(x, trackWidth));
}

bool SliderModel::type(const QString& text) {
    text_ = text;
    // The text stays as typed, even when the value it gives was limited.
    return write(typedValue(text));
}

void SliderModel::beginEditing() {
    text_ = format(value_);
    editing_ = true;
}

void SliderModel::endEditing() {
    editing_ = false;
    text_ = format(value_);
}

}  // namespace olvane::ui
