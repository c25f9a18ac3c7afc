#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "platform/Observable.h"

namespace olvane::ui {

class HoverScaleEffect;
class PopoverPresenter;

// A round "i" badge that shows its explanation in a popover under it while the pointer rests on
// it.
class InfoTooltip final : public QWidget {
    Q_OBJECT

  public:
    static constexpr qreal kTextWidth = 250;
    static constexpr qreal kHoverScale = 1.0625;

    InfoTooltip(const QString& text, qreal iconSize, QWidget* parent = nullptr);
    ~InfoTooltip() override;

    QString text() const { return text_; }
    bool isHovered() const { return isHovered_.get(); }
    // The explanation on screen; null while the pointer is elsewhere.
    QWidget* popover() const;

    QSize sizeHint() const override;

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* makePopoverContent() const;

    QString text_;
    qreal iconSize_;
    HoverScaleEffect* hover_;
    platform::Observable<bool> isHovered_{false};
    std::unique_ptr<PopoverPresenter> presenter_;
};

}  // namespace olvane::ui
