#pragma once

#include <string_view>

namespace olvane::platform {

// The layer (as WindowInfo numbers them) of a window of an EWMH type ("NORMAL", "DOCK"…, as
// _NET_WM_WINDOW_TYPE names them without its prefix), kept above the others or not.
int layerOfWindowType(std::string_view type, bool keptAbove);

}  // namespace olvane::platform
