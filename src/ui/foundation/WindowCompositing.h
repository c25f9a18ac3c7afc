#pragma once

#include <QRectF>

class QWidget;

namespace olvane::ui {

// Whether the transparent parts of a window show what lies under it. On X11 only a running
// compositing manager does that; without one they are black.
bool translucentWindowsAreComposited();

// A window drawn as a rounded card: without a compositing manager its corners outside `card`
// (in its own coordinates) would show square, so its shape is cut to the card; with one it is
// left whole.
void cutShapeToRoundedCard(QWidget& window, const QRectF& card, qreal radius);

}  // namespace olvane::ui
