#pragma once

#include "model/Platform.h"

namespace olvane::ui {

// The symbol that stands for a platform until its favicon is there.
const char* platformSymbol(Platform platform);

}  // namespace olvane::ui
