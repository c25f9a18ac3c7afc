#pragma once

#include <QString>

#include "ui/foundation/DebugColor.h"

class QWidget;

namespace olvane::ui {

// An empty, click-through child over a part that its parent paints itself (a text, a symbol),
// so that the part carries its own spacing-debug outline. The parent places it.
QWidget* debugMarker(QWidget* parent, const QString& label, DebugColor color);

}  // namespace olvane::ui
