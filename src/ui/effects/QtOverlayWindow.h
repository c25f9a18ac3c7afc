#pragma once

#include <QWidget>
#include <memory>

#include "platform/Handle.h"
#include "platform/OverlayWindow.h"

namespace olvane::ui {

// An effect's window: a frameless top-level Qt widget, placed in global display coordinates,
// shown without being activated. Each kind says where it stacks and how it comes to the front.
class QtOverlayWindow : public platform::OverlayWindow {
  public:
    QtOverlayWindow(std::unique_ptr<QWidget> view, const platform::Rect& frame,
                    Qt::WindowFlags extraFlags);

    platform::Rect frame() const override;
    void setFrame(const platform::Rect& frame) override;
    void orderOut() override;

  protected:
    QWidget& view() { return *view_; }
    // Keeps the window in its place in the stacking order while it shows.
    platform::Handle stacking_;

  private:
    std::unique_ptr<QWidget> view_;
};

}  // namespace olvane::ui
