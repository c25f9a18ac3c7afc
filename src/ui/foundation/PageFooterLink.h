#pragma once

#include <QString>
#include <functional>
#include <string>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// One link of the page footer: a symbol and a text in black, 6 points apart.
class PageFooterLink final : public HoverButton {
    Q_OBJECT

  public:
    PageFooterLink(std::string icon, const QString& label, std::function<void()> action,
                   QWidget* parent = nullptr);

    QString label() const { return label_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintContent(QPainter& painter) override;

  private:
    std::string icon_;
    QString label_;
};

}  // namespace olvane::ui
