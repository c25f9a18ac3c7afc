#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace olvane::fuzz {

// A private folder made at the first call and removed at exit, in memory where there is a place
// for it: the targets that write files do so for most inputs. Its name is kept in a plain buffer
// that outlives the statics the exit handlers may already have destroyed.
inline const char* scratchFolder() {
    static char path[4096];
    if (path[0] == '\0') {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path parent =
            ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
        const std::string pattern = (parent / "olvane-fuzz-XXXXXX").string();
        if (pattern.size() >= sizeof path) {
            std::abort();
        }
        pattern.copy(path, pattern.size());
        if (!::mkdtemp(path)) {
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        });
    }
    return path;
}

}  // namespace olvane::fuzz
