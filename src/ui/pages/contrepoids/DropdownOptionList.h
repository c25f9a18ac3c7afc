#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <vector>

namespace olvane::ui {

// The content of a menu's popover: one option per row, the selected one checked, at least 120
// points wide; the popover's white card and outline show around and under it. Choosing runs
// `onChoose` with the option's position.
class DropdownOptionList final : public QWidget {
    Q_OBJECT

  public:
    struct Option {
        QString title;
        bool isSelected;
    };

    static constexpr int kMinimumWidth = 120;

    DropdownOptionList(const std::vector<Option>& options,
                       std::function<void(std::size_t)> onChoose, QWidget* parent = nullptr);
};

}  // namespace olvane::ui
