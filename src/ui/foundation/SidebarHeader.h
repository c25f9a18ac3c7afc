#pragma once

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// The top of the sidebar: the logo and "Olvane"; leads to the home page.
class SidebarHeader final : public HoverButton {
    Q_OBJECT

  public:
    explicit SidebarHeader(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintContent(QPainter& painter) override;
};

}  // namespace olvane::ui
