#pragma once

#include <QWidget>

namespace olvane::ui {

class CheckboxBox;

// The application's checkbox: an 18-point rounded box outlined in black, filled black with a
// white check when on, and a label beside it. Only the box reacts to clicks.
class OlvaneCheckbox final : public QWidget {
    Q_OBJECT

  public:
    // `label` is the caller's own view, placed after the box (may be null).
    explicit OlvaneCheckbox(QWidget* label, QWidget* parent = nullptr);

    bool isChecked() const;
    void setChecked(bool checked);
    CheckboxBox* box() const { return box_; }

  Q_SIGNALS:
    void toggled(bool checked);

  private:
    CheckboxBox* box_;
};

}  // namespace olvane::ui
