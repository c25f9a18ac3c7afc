#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "platform/Handle.h"
#include "platform/Signal.h"
#include "ui/pages/contrepoids/DelayTimeUnit.h"

namespace olvane::ui {

// What the custom delay editor does with a whole number typed or stepped in seconds, minutes
// or hours. It keeps the caller's seconds and unit up to date as the user edits; the field's
// text is its own and counts only when committed. Every number of seconds it writes lies
// between 1 and 86400. Every text it keeps, its own included, is filtered first, so at most
// five characters ever reach the arithmetic.
class DelayEditorModel {
  public:
    static constexpr std::int64_t kMaxSeconds = 86'400;
    static constexpr int kMaxCharacters = 5;

    // `seconds` and `unit` are the caller's: they must outlive the model.
    DelayEditorModel(std::int64_t& seconds, DelayTimeUnit& unit);
    DelayEditorModel(const DelayEditorModel&) = delete;
    DelayEditorModel& operator=(const DelayEditorModel&) = delete;

    // The first five characters of `text` that are numbers, whole code points of any script;
    // "0" alone becomes "1".
    static QString filterInput(const QString& text);
    // `seconds` in `unit`, rounded toward zero.
    static std::int64_t valueInUnit(std::int64_t seconds, DelayTimeUnit unit);

    std::int64_t seconds() const { return seconds_; }
    DelayTimeUnit unit() const { return unit_; }
    const QString& inputText() const { return inputText_; }
    // What the user typed; kept filtered.
    void setInputText(const QString& typed);
    // The text as a decimal number: an optional sign and ASCII digits within 64 bits; 1 for
    // anything else.
    std::int64_t parsedInputValue() const;
    // The text, else the seconds in the unit.
    QString displayText() const;
    bool isEditing() const { return isEditing_; }
    // "−" is offered from 2 up, "+" below a day.
    bool canDecrement() const { return parsedInputValue() >= 2; }
    bool canIncrement() const { return seconds_ < kMaxSeconds; }
    // "12 minutes".
    QString accessibilityValue() const;

    // Each time the editor comes on screen: out of editing, the text from the caller's seconds.
    void appear();
    void syncDisplayFromSeconds();
    // A value in the current unit, from the − and + buttons.
    void setValue(std::int64_t value);
    void increment();
    void decrement();
    // The text becomes the caller's seconds (Return, focus lost, apply, unit change).
    void commitInput();
    void unitChanged(DelayTimeUnit unit);
    void startEditing();

    // After any change of the text, the seconds, the unit or the editing state.
    platform::Handle observe(std::function<void()> onChange);

  private:
    void writeInput(const QString& text);
    void notify();

    std::int64_t& seconds_;
    DelayTimeUnit& unit_;
    QString inputText_;
    bool isEditing_ = false;
    platform::Signal<> changed_;
};

}  // namespace olvane::ui
