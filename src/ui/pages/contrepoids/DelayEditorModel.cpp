#include "ui/pages/contrepoids/DelayEditorModel.h"

#include <QChar>
#include <QList>
#include <algorithm>
#include <limits>

namespace olvane::ui {
namespace {

QString decimal(std::int64_t value) {
    return QString::number(value);
}

// `value` + 1 without passing the largest value.
std::int64_t successor(std::int64_t value) {
    return value == std::numeric_limits<std::int64_t>::max() ? value : value + 1;
}

}  // namespace

DelayEditorModel::DelayEditorModel(std::int64_t& seconds, DelayTimeUnit& unit)
    : seconds_(seconds), unit_(unit) {}

QString DelayEditorModel::filterInput(const QString& text) {
    QString kept;
    int count = 0;
    // Code points, not UTF-16 units: a digit outside the first plane is one character, and a
    // lone surrogate is none.
    for (const uint codePoint : text.toUcs4()) {
        if (count == kMaxCharacters) {
            break;
        }
        if (QChar::isNumber(codePoint)) {
            const auto character = static_cast<char32_t>(codePoint);
            kept += QString::fromUcs4(&character, 1);
            ++count;
        }
    }
    return kept == QStringLiteral("0") ? QStringLiteral("1") : kept;
}

std::int64_t DelayEditorModel::valueInUnit(std::int64_t seconds, DelayTimeUnit unit) {
    return seconds / secondsPerUnit(unit);
}

void DelayEditorModel::setInputText(const QString& typed) {
    writeInput(typed);
    notify();
}

std::int64_t DelayEditorModel::parsedInputValue() const {
    constexpr std::int64_t kInvalid = 1;
    const QString& text = inputText_;
    qsizetype index = 0;
    const bool negative = !text.isEmpty() && text.front() == u'-';
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        index = 1;
    }
    if (index == text.size()) {
        return kInvalid;
    }
    // Accumulated on the negative side, which holds the smallest value too.
    std::int64_t value = 0;
    for (; index < text.size(); ++index) {
        const char16_t c = text[index].unicode();
        if (c < u'0' || c > u'9') {
            return kInvalid;
        }
        const int digit = c - u'0';
        if (value < (std::numeric_limits<std::int64_t>::min() + digit) / 10) {
            return kInvalid;
        }
        value = value * 10 - digit;
    }
    if (negative) {
        return value;
    }
    return value == std::numeric_limits<std::int64_t>::min() ? kInvalid : -value;
}

QString DelayEditorModel::displayText() const {
    return inputText_.isEmpty() ? decimal(valueInUnit(seconds_, unit_)) : inputText_;
}

QString DelayEditorModel::accessibilityValue() const {
    return decimal(parsedInputValue()) + u' ' + QString::fromUtf8(rawValue(unit_));
}

void DelayEditorModel::appear() {
    isEditing_ = false;
    syncDisplayFromSeconds();
}

void DelayEditorModel::syncDisplayFromSeconds() {
    const std::int64_t s = seconds_;
    const std::int64_t value = valueInUnit(s, unit_);
    if (value != 0) {
        // Not rounded to the unit until the next commit.
        writeInput(decimal(value));
    } else if (s < 60) {
        unit_ = DelayTimeUnit::seconds;
        seconds_ = std::max<std::int64_t>(s, 1);
        writeInput(decimal(seconds_));
    } else {
        // Only hours with less than one of them reach this.
        unit_ = DelayTimeUnit::minutes;
        const std::int64_t minutes = s / 60;
        seconds_ = minutes * 60;
        writeInput(decimal(minutes));
    }
    notify();
}

void DelayEditorModel::setValue(std::int64_t value) {
    const std::int64_t n = std::max<std::int64_t>(value, 1);
    if (n > largestShownValue(unit_)) {
        writeInput(decimal(largestShownValue(unit_)));
        seconds_ = kMaxSeconds;
    } else {
        writeInput(decimal(n));
        seconds_ = n * secondsPerUnit(unit_);
    }
    notify();
}

void DelayEditorModel::increment() {
    setValue(successor(parsedInputValue()));
}

void DelayEditorModel::decrement() {
    setValue(std::max<std::int64_t>(parsedInputValue() - 1, 1));
}

void DelayEditorModel::commitInput() {
    const std::int64_t n = std::clamp<std::int64_t>(parsedInputValue(), 1, kMaxSeconds);
    const std::int64_t total = std::min(n * secondsPerUnit(unit_), kMaxSeconds);
    seconds_ = total;
    writeInput(decimal(valueInUnit(total, unit_)));
    notify();
}

void DelayEditorModel::unitChanged(DelayTimeUnit unit) {
    // The typed text counts in the unit it was typed in.
    commitInput();
    const std::int64_t s = seconds_;
    unit_ = unit;
    writeInput(decimal(std::max<std::int64_t>(valueInUnit(s, unit), 1)));
    seconds_ = std::min(s, kMaxSeconds);
    notify();
}

void DelayEditorModel::startEditing() {
    isEditing_ = true;
    notify();
}

platform::Handle DelayEditorModel::observe(std::function<void()> onChange) {
    return changed_.connect([onChange = std::move(onChange)] { onChange(); });
}

void DelayEditorModel::writeInput(const QString& text) {
    inputText_ = filterInput(text);
}

void DelayEditorModel::notify() {
    changed_.emit();
}

}  // namespace olvane::ui
