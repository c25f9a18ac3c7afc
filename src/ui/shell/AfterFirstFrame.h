#pragma once

#include <QWidget>
#include <functional>

namespace olvane::ui {

// Runs `work` once, on the loop's next turn after `window` (or a widget in it) first paints,
// so that work the first frame does not need does not hold that frame back. A window that does
// not paint within `fallbackMs` (kept hidden, minimised) has the work done then instead.
void afterFirstFrame(QWidget& window, std::function<void()> work, int fallbackMs = 2000);

}  // namespace olvane::ui
