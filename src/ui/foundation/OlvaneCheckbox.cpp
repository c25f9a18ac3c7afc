#include "ui/foundation/OlvaneCheckbox.h"

#include <QHBoxLayout>

#include "ui/foundation/CheckboxBox.h"

namespace olvane::ui {

OlvaneCheckbox::OlvaneCheckbox(QWidget* label, QWidget* parent)
    : QWidget(parent), box_(new CheckboxBox(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(box_, 0, Qt::AlignVCenter);
    if (label) {
        label->setParent(this);
        row->addWidget(label, 1, Qt::AlignVCenter);
    }
    connect(box_, &QAbstractButton::toggled, this, [this](bool on) { Q_EMIT toggled(on); });
}

bool OlvaneCheckbox::isChecked() const {
    return box_->isChecked();
}

void OlvaneCheckbox::setChecked(bool checked) {
    box_->setChecked(checked);
}

}  // namespace olvane::ui
