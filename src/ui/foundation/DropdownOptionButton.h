#pragma once

#include <QString>
#include <functional>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// One preset of a list: a check mark when selected (its room kept when not, so that all titles
// line up) and the title, across the list's width.
class DropdownOptionButton final : public HoverButton {
    Q_OBJECT

  public:
    DropdownOptionButton(const QString& title, bool isSelected, std::function<void()> action,
                         QWidget* parent = nullptr);

    QString title() const { return title_; }
    bool isSelected() const { return selected_; }
    // Where the title starts, selected or not.
    static int titleOffset();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintContent(QPainter& painter) override;

  private:
    QString title_;
    bool selected_;
};

}  // namespace olvane::ui
