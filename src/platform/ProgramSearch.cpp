#include "platform/ProgramSearch.h"

#include <unistd.h>

#include <cstdlib>

namespace olvane::platform {

namespace fs = std::filesystem;

std::optional<fs::path> findProgram(std::string_view name, std::string_view searchPath) {
    while (!searchPath.empty()) {
        const auto colon = searchPath.find(':');
        const auto folder = searchPath.substr(0, colon);
        searchPath = colon == std::string_view::npos ? "" : searchPath.substr(colon + 1);
        if (folder.empty()) {
            continue;
        }
        const auto candidate = fs::path(folder) / name;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<fs::path> findProgramOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    return findProgram(name, path ? path : "");
}

}  // namespace olvane::platform
