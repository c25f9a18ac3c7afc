#pragma once

#include "support/XServer.h"

namespace olvane::ui {

// The X server of the whole run of the shell's X11 tests, started by their main().
extern test::XServer* shellX11Server;

}  // namespace olvane::ui
