#include "ui/pages/assainisseur/RuleRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "ui/foundation/CheckboxBox.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/OlvaneCheckbox.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {

RuleRow::RuleRow(const ContentRule& rule, bool isEnabled, std::function<void(bool)> onToggle,
                 QWidget* parent)
    : QWidget(parent), ruleId_(rule.id), checkbox_(new OlvaneCheckbox(nullptr, this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPaddingH, kPaddingV, kPaddingH, kPaddingV);
    row->setSpacing(0);

    auto* indent = new QWidget(this);
    indent->setFixedSize(kIndent, 1);
    debugOverlay(indent, QStringLiteral("Indent"), DebugColor::gray);
    row->addWidget(indent);
    row->addWidget(
        new DebugSpacingIndicator(QStringLiteral("p3"), kLabelGap, Qt::Horizontal, this));

    auto* label = themedLabel(QString::fromStdString(ContentRule::displayLabel(rule.id)),
                              Theme::fontRegular14(), this);
    debugOverlay(label, QStringLiteral("Label"), DebugColor::green);
    row->addWidget(label);
    row->addStretch(1);

    debugOverlay(checkbox_, QStringLiteral("Checkbox"), DebugColor::red);
    checkbox_->box()->setAccessibleName(label->text());
    checkbox_->setChecked(isEnabled);
    row->addWidget(checkbox_, 0, Qt::AlignVCenter);
    connect(checkbox_, &OlvaneCheckbox::toggled, this,
            [onToggle = std::move(onToggle)](bool checked) { onToggle(checked); });
}

bool RuleRow::isChecked() const {
    return checkbox_->isChecked();
}

void RuleRow::setEnabledState(bool isEnabled) {
    const QSignalBlocker quiet(checkbox_);
    checkbox_->setChecked(isEnabled);
}

}  // namespace olvane::ui
