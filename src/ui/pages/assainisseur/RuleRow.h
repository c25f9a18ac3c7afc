#pragma once

#include <QWidget>
#include <functional>

#include "model/ContentRule.h"

namespace olvane::ui {

class OlvaneCheckbox;

// One content rule in its platform's card: its label, indented, and its checkbox. The row keeps
// no state: a click only reports the wanted state, and the card sets what the model decided.
class RuleRow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kIndent = 24;
    static constexpr int kLabelGap = 12;
    static constexpr int kPaddingH = 16;
    static constexpr int kPaddingV = 12;

    RuleRow(const ContentRule& rule, bool isEnabled, std::function<void(bool)> onToggle,
            QWidget* parent = nullptr);

    const std::string& ruleId() const { return ruleId_; }
    OlvaneCheckbox* checkbox() const { return checkbox_; }
    bool isChecked() const;
    void setEnabledState(bool isEnabled);

  private:
    std::string ruleId_;
    OlvaneCheckbox* checkbox_;
};

}  // namespace olvane::ui
