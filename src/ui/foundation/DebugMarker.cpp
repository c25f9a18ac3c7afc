#include "ui/foundation/DebugMarker.h"

#include <QWidget>

#include "ui/foundation/DebugDimensionOverlay.h"

namespace olvane::ui {

QWidget* debugMarker(QWidget* parent, const QString& label, DebugColor color) {
    auto* marker = new QWidget(parent);
    marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    marker->setAttribute(Qt::WA_NoSystemBackground);
    marker->setFocusPolicy(Qt::NoFocus);
    debugOverlay(marker, label, color);
    return marker;
}

}  // namespace olvane::ui
