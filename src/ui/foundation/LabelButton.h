#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "ui/foundation/HoverButton.h"
#include "ui/foundation/Theme.h"

class QGraphicsDropShadowEffect;

namespace olvane::ui {

// A chrome-less button of one line of text, perhaps after a symbol: padded, filled, with rounded
// corners (8 unless the style says otherwise), outlined and shadowed when its style says so; the
// whole rectangle is the click target. Disabled, it is drawn at half opacity, shadow included.
class LabelButton : public HoverButton {
    Q_OBJECT

  public:
    struct Style {
        QFont font;
        QColor textColor;
        QColor fill;
        // Stroked `outlineWidth` wide along the rounded rectangle.
        std::optional<QColor> outline;
        int paddingH;
        int paddingV;
        std::optional<Theme::Shadow> shadow;
        qreal cornerRadius = Theme::cornerRadius;
        qreal outlineWidth = Theme::outlineWidth;
        // Drawn in the text's colour before it, 4 points apart, at `symbolSize`.
        std::string symbol = {};
        qreal symbolSize = 0;
    };

    LabelButton(const QString& text, Style style, QWidget* parent = nullptr);

    // 0.5 while disabled, 1 otherwise.
    qreal opacity() const { return isEnabled() ? 1.0 : 0.5; }
    // Where the text is drawn, inside the padding.
    QRect labelRect() const;
    const Style& buttonStyle() const { return style_; }
    // A new look for the same button (its shadow stays as it was made).
    void setButtonStyle(Style style);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintContent(QPainter& painter) override;
    void changeEvent(QEvent* event) override;

  private:
    int symbolWidth() const;

    Style style_;
    QGraphicsDropShadowEffect* shadow_ = nullptr;
};

}  // namespace olvane::ui
