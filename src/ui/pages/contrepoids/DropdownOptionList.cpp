#include "ui/pages/contrepoids/DropdownOptionList.h"

#include <QVBoxLayout>

#include "ui/foundation/DropdownOptionButton.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingV = 4;

}  // namespace

DropdownOptionList::DropdownOptionList(const std::vector<Option>& options,
                                       std::function<void(std::size_t)> onChoose, QWidget* parent)
    : QWidget(parent) {
    setMinimumWidth(kMinimumWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, kPaddingV, 0, kPaddingV);
    column->setSpacing(0);
    for (std::size_t i = 0; i < options.size(); ++i) {
        column->addWidget(new DropdownOptionButton(
            options[i].title, options[i].isSelected, [onChoose, i] { onChoose(i); }, this));
    }
}

}  // namespace olvane::ui
