#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// The wizard's buttons: one line of text, optionally after a symbol, padded, on a filled rounded
// rectangle with continuous corners and perhaps an outline; the whole rectangle takes the click
// and grows under the pointer.
class ConfiguratorButton final : public HoverButton {
    Q_OBJECT

  public:
    struct Look {
        QFont font;
        QColor text;
        QColor fill;
        std::optional<QColor> outline;
        qreal outlineWidth;
        qreal radius;
        int paddingH;
        int paddingV;
        // Drawn before the text, 4 points apart, at `symbolSize`.
        std::string symbol;
        qreal symbolSize;
    };
    // White medium text on black, corners of 12, padded 20 by 12.
    static Look primary();
    // The same in black on white, outlined 1.5.
    static Look secondary();

    ConfiguratorButton(const QString& text, Look look, std::function<void()> action,
                       QWidget* parent = nullptr);

    QString text() const { return text_; }
    const Look& look() const { return look_; }
    void setText(const QString& text);
    void setLook(Look look);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintContent(QPainter& painter) override;

  private:
    int symbolWidth() const;

    QString text_;
    Look look_;
};

}  // namespace olvane::ui
