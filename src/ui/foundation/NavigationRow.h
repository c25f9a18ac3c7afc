#pragma once

#include <QString>
#include <optional>

#include "app/NavigationItem.h"
#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// One row of the sidebar: the page's symbol and title; black with white content when selected.
class NavigationRow final : public HoverButton {
    Q_OBJECT

  public:
    struct Options {
        bool iconOnly = false;
        bool showIcon = true;
        std::optional<QString> labelOverride;
    };

    NavigationRow(NavigationItem item, Options options, QWidget* parent = nullptr);

    NavigationItem item() const { return item_; }
    QString title() const;
    bool showsIcon() const { return options_.showIcon; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintContent(QPainter& painter) override;

  private:
    NavigationItem item_;
    Options options_;
    bool selected_ = false;
};

}  // namespace olvane::ui
