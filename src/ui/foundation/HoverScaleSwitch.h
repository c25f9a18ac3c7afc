#pragma once

class QWidget;

namespace olvane::ui {

// Gives `widget` the hover growth (true) or leaves it still under the pointer (false). The
// condition may change while the widget is shown: each switch starts the hover afresh. Our own
// buttons scale their painting; any other widget is drawn scaled as a whole.
void hoverScaleEffect(QWidget* widget, bool enabled);

}  // namespace olvane::ui
