#include "ui/configurateur/ContentRuleRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/OlvaneToggleStyle.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 16;
constexpr int kPaddingV = 12;
constexpr int kSpacing = 12;

}  // namespace

ContentRuleRow::ContentRuleRow(const ContentRule& rule, std::function<void(bool)> onToggle,
                               QWidget* parent)
    : QWidget(parent),
      toggle_(new OlvaneToggleStyle(1.0, this)),
      label_(QString::fromStdString(ContentRule::displayLabel(rule.id))) {
    toggle_->setAccessibleName(label_);
    toggle_->setChecked(rule.isEnabled);
    connect(toggle_, &QAbstractButton::clicked, this,
            [onToggle = std::move(onToggle)](bool on) { onToggle(on); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout();
    row->setContentsMargins(kPaddingH, kPaddingV, kPaddingH, kPaddingV);
    row->setSpacing(kSpacing);
    row->addWidget(themedLabel(label_, Theme::fontRegular14(), this), 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(toggle_, 0, Qt::AlignVCenter);
    column->addLayout(row);

    separator_ = new QWidget(this);
    auto* line = new QHBoxLayout(separator_);
    line->setContentsMargins(kPaddingH, 0, kPaddingH, 0);
    line->addWidget(Separator::divider(separator_));
    column->addWidget(separator_);
}

QString ContentRuleRow::label() const {
    return label_;
}

void ContentRuleRow::setRule(const ContentRule& rule) {
    toggle_->setChecked(rule.isEnabled);
}

void ContentRuleRow::setSeparatorShown(bool shown) {
    separator_->setVisible(shown);
}

bool ContentRuleRow::isSeparatorShown() const {
    return separator_->isVisibleTo(this);
}

}  // namespace olvane::ui
