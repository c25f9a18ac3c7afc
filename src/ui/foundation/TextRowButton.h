#pragma once

#include <QString>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// A full-width text row that acts on click: the theme's regular 14-point text on the leading
// edge, 8 points above and below.
class TextRowButton final : public HoverButton {
    Q_OBJECT

  public:
    explicit TextRowButton(const QString& text, QWidget* parent = nullptr);

    QString text() const { return text_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintContent(QPainter& painter) override;

  private:
    QString text_;
};

}  // namespace olvane::ui
