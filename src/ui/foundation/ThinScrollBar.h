#pragma once

class QAbstractScrollArea;

namespace olvane::ui {

// The interface's vertical scroll bar: a thin grey handle on a clear track, no arrows.
void useThinScrollBar(QAbstractScrollArea& area);

}  // namespace olvane::ui
