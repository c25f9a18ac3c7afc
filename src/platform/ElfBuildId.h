#pragma once

#include <optional>
#include <string>

namespace olvane::platform {

// The GNU build ID of the ELF object open at `fd`, in lower-case hexadecimal as `readelf -n`
// shows it; nullopt when the file is no ELF object of this process's class or carries none.
// Read from the file, so that nothing of the object runs.
std::optional<std::string> elfBuildId(int fd);

}  // namespace olvane::platform
