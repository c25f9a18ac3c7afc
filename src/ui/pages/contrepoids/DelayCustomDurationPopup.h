#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "platform/Handle.h"
#include "ui/pages/contrepoids/DelayEditorModel.h"

class QAbstractButton;
class QLineEdit;

namespace olvane::ui {

class CustomIntensityPopup;

// "Délai personnalisé": a whole number stepped with − and + or typed, in seconds, minutes or
// hours, up to one day. It writes the caller's seconds and unit as the user edits; "Appliquer"
// commits the typed text and calls `onApply`, "Annuler" calls `onCancel` alone.
class DelayCustomDurationPopup final : public QWidget {
    Q_OBJECT

  public:
    // `seconds` and `unit` are the caller's and must outlive the popup.
    DelayCustomDurationPopup(std::int64_t& seconds, DelayTimeUnit& unit,
                             std::function<void()> onApply, std::function<void()> onCancel,
                             QWidget* parent = nullptr);
    ~DelayCustomDurationPopup() override;

    DelayEditorModel& model() { return model_; }
    CustomIntensityPopup* frame() const { return frame_; }
    QAbstractButton* decrementButton() const;
    QAbstractButton* incrementButton() const;
    // The value as shown while not editing; a click starts editing.
    QWidget* valueCell() const;
    QLineEdit* field() const;
    QAbstractButton* unitButton(DelayTimeUnit unit) const;
    QWidget* unitSelector() const;

    QSize sizeHint() const override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    class StepButton;
    class ValueCell;
    class TabularField;
    class UnitSelector;

    QWidget* valueRow();
    void showModel();

    DelayEditorModel model_;
    StepButton* decrement_ = nullptr;
    StepButton* increment_ = nullptr;
    ValueCell* cell_ = nullptr;
    UnitSelector* units_ = nullptr;
    CustomIntensityPopup* frame_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
