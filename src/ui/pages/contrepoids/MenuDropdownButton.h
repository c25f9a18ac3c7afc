#pragma once

#include <QString>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// The closed menu of a preset or duration: the current value in a 110-point column and the
// up-and-down chevron, on a white rounded rectangle (radius 6) outlined in light grey. A click
// opens or closes its option list.
class MenuDropdownButton final : public HoverButton {
    Q_OBJECT

  public:
    static constexpr int kLabelWidth = 110;

    explicit MenuDropdownButton(const QString& label, QWidget* parent = nullptr);

    QString label() const { return label_; }
    void setLabel(const QString& label);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintContent(QPainter& painter) override;

  private:
    QString label_;
};

}  // namespace olvane::ui
