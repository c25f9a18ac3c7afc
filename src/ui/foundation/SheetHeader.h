#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace olvane::ui {

class HoverableIconButton;

// The top row of a sheet: its title as a section header on the leading edge and the "xmark"
// close button on the trailing one, 20 points from every edge.
class SheetHeader final : public QWidget {
    Q_OBJECT

  public:
    SheetHeader(const QString& title, std::function<void()> close, QWidget* parent = nullptr);

    HoverableIconButton* closeButton() const { return close_; }

  private:
    HoverableIconButton* close_;
};

}  // namespace olvane::ui
