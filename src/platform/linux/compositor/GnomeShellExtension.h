#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Handle.h"
#include "platform/linux/AsyncBus.h"

namespace olvane::platform::os {

// Where GNOME Shell stands with the companion's extension, as the Shell itself says over the
// bus (no unsafe mode needed).
struct GnomeExtensionState {
    enum class Kind {
        // Enabled and running: its reports should come.
        running,
        // On disk but unknown to the Shell, which reads its extensions at login only.
        installedSinceLogin,
        // Known, but not switched on.
        disabled,
        // The user switched every extension off.
        userExtensionsOff,
        // The Shell is newer than the versions the extension declares.
        outOfDate,
        // The Shell met an error in it.
        failed,
        // Neither known to the Shell nor on disk.
        absent,
        // The Shell did not answer.
        unknown,
    };
    Kind kind = Kind::unknown;
    std::string shellVersion;
    // The Shell's words, for `failed`.
    std::string error;
};

// Asks the Shell once; `onState` runs on the loop. `extensionFolders`: where a user or system
// extension would lie (…/gnome-shell/extensions of each data folder), to tell one installed
// since the login from none.
Handle askGnomeExtensionState(AsyncBus& bus, const std::string& uuid,
                              std::vector<std::filesystem::path> extensionFolders,
                              std::function<void(const GnomeExtensionState&)> onState);

}  // namespace olvane::platform::os
