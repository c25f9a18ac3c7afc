#pragma once

#include <QString>

#include "ui/foundation/DebugColor.h"
#include "ui/foundation/OverlayLayer.h"

namespace olvane::ui {

// While spacing debug is on: the outline of a block and its name with its measured size, in the
// block's colour. While off it paints nothing.
class DebugDimensionOverlay final : public OverlayLayer {
    Q_OBJECT

  public:
    DebugDimensionOverlay(QWidget* content, const QString& label, DebugColor color);

    QString label() const { return label_; }
    // The text drawn now: the label, the width and the height.
    QString text() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString label_;
    DebugColor color_;
};

// Names `content` for the spacing-debug drawing.
DebugDimensionOverlay* debugOverlay(QWidget* content, const QString& name, DebugColor color);

}  // namespace olvane::ui
