#pragma once

#include <QAbstractButton>
#include <QBoxLayout>
#include <QString>
#include <QWidget>
#include <functional>

#include "ui/foundation/FadingSeparator.h"

namespace olvane::ui {

class HoverButton;

// The last row of a list card: a round "plus" badge and a label that open the section's picker.
// The whole row below the separator takes the click; only the badge and label grow under the
// pointer. With `showSeparator`, a faint line above it that can be hidden without moving the row.
class AddExceptionRow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSeparatorAnimationMs = FadingSeparator::kAnimationMs;

    AddExceptionRow(const QString& label, std::function<void()> action, bool showSeparator,
                    bool separatorHidden = false, QWidget* parent = nullptr);

    // The add row at the end of `layout`: `current` while its separator is as wanted, else a new
    // row (not shown yet) in its place. The old row goes once control is back in the loop, since
    // the click that changed the list may be its own.
    static AddExceptionRow* keptAtEnd(AddExceptionRow* current, QBoxLayout& layout,
                                      const QString& label, const std::function<void()>& action,
                                      bool showSeparator, QWidget* parent);

    // Fades the separator out (true) or in (false), ease-in-out over 0.2 s.
    void setSeparatorHidden(bool hidden);
    bool isSeparatorHidden() const { return separatorHidden_; }
    // The separator's opacity now (it moves during the fade); 0 without a separator.
    qreal separatorOpacity() const;
    bool hasSeparator() const { return separator_ != nullptr; }

    HoverButton* addGroup() const { return group_; }
    QAbstractButton* button() const { return button_; }

  private:
    FadingSeparator* separator_ = nullptr;
    QAbstractButton* button_;
    HoverButton* group_;
    bool separatorHidden_ = false;
};

}  // namespace olvane::ui
