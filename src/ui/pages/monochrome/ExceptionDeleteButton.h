#pragma once

#include <QAbstractButton>
#include <functional>
#include <string>

namespace olvane::ui {

class HoverScaleEffect;

// The "xmark" at the end of an exception row: hands its entry (an application ID or a stored
// site) to `onDelete`. It grows by a fixed 1/16 under the pointer.
class ExceptionDeleteButton final : public QAbstractButton {
    Q_OBJECT

  public:
    static constexpr int kSide = 24;
    static constexpr qreal kSymbolSize = 12;
    static constexpr qreal kHoverScale = 1.0625;

    ExceptionDeleteButton(std::string entry, std::function<void(const std::string&)> onDelete,
                          QWidget* parent = nullptr);

    const std::string& entry() const { return entry_; }
    const HoverScaleEffect& hoverScale() const { return *hover_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

  private:
    std::string entry_;
    HoverScaleEffect* hover_;
};

// The two rows' buttons differ only by what they hand over.
using AppDeleteButton = ExceptionDeleteButton;
using SiteDeleteButton = ExceptionDeleteButton;

}  // namespace olvane::ui
