#pragma once

#include <QWidget>
#include <functional>

#include "model/ContentRule.h"

namespace olvane::ui {

class OlvaneToggleStyle;

// One content rule of a platform in the wizard: its label and its switch, with a faint line
// under it unless it is the platform's last rule. The screen passes each change of the draft back,
// so a rule switched off by another one follows.
class ContentRuleRow final : public QWidget {
    Q_OBJECT

  public:
    ContentRuleRow(const ContentRule& rule, std::function<void(bool)> onToggle,
                   QWidget* parent = nullptr);

    QString label() const;
    OlvaneToggleStyle* toggle() const { return toggle_; }
    void setRule(const ContentRule& rule);
    void setSeparatorShown(bool shown);
    bool isSeparatorShown() const;

  private:
    OlvaneToggleStyle* toggle_;
    QWidget* separator_;
    QString label_;
};

}  // namespace olvane::ui
