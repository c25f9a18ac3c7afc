#pragma once

#include <algorithm>
#include <concepts>
#include <functional>
#include <vector>

#include "ui/foundation/SegmentedPicker.h"

namespace olvane::ui {

// A segmented picker over values: one segment per option, in order; the segment whose option
// equals the caller's value is selected (none when no option does). A tap hands the option to
// `onSelect`, the caller's setter, and selects it.
template <std::equality_comparable T>
class OlvaneSegmentedPicker final : public SegmentedPicker {
  public:
    using LabelFor = std::function<QString(const T&)>;
    using OnSelect = std::function<void(const T&)>;

    OlvaneSegmentedPicker(std::vector<T> options, const LabelFor& labelFor, T selected,
                          OnSelect onSelect, QWidget* parent = nullptr)
        : SegmentedPicker(labelsOf(options, labelFor), parent),
          options_(std::move(options)),
          selected_(std::move(selected)),
          onSelect_(std::move(onSelect)) {
        showSelection();
        connect(this, &SegmentedPicker::segmentTapped, this, [this](int index) {
            selected_ = options_[static_cast<std::size_t>(index)];
            showSelection();
            if (onSelect_) {
                onSelect_(selected_);
            }
        });
    }

    const T& selected() const { return selected_; }
    // The caller's value changed elsewhere.
    void setSelected(T value) {
        selected_ = std::move(value);
        showSelection();
    }

  private:
    static QStringList labelsOf(const std::vector<T>& options, const LabelFor& labelFor) {
        QStringList labels;
        for (const T& option : options) {
            labels << labelFor(option);
        }
        return labels;
    }

    void showSelection() {
        const auto found = std::find(options_.begin(), options_.end(), selected_);
        setSelectedIndex(found == options_.end() ? -1 : static_cast<int>(found - options_.begin()));
    }

    std::vector<T> options_;
    T selected_;
    OnSelect onSelect_;
};

}  // namespace olvane::ui
