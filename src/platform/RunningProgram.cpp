#include "platform/RunningProgram.h"

#include <system_error>

namespace olvane::platform {

namespace fs = std::filesystem;

fs::path runningProgram() {
    std::error_code error;
    auto program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
}

const fs::path& compiledBuildTree() {
    static const fs::path tree(OLVANE_BUILD_TREE);
    return tree;
}

bool liesInside(const fs::path& path, const fs::path& folder) {
    if (path.empty() || folder.empty()) {
        return false;
    }
    std::error_code error;
    const auto outer = fs::weakly_canonical(folder, error);
    const auto inner = error ? fs::path() : fs::weakly_canonical(path, error);
    const auto relative = error ? fs::path() : inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != ".." && *relative.begin() != ".";
}

}  // namespace olvane::platform
