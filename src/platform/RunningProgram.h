#pragma once

#include <filesystem>

namespace olvane::platform {

// The running executable (/proc/self/exe); empty when it cannot be read.
std::filesystem::path runningProgram();

// The build tree this binary was compiled in. What that tree built is ours only for a program
// that runs from inside it: for a copy elsewhere the tree may be gone, and its path free for
// another user to fill.
const std::filesystem::path& compiledBuildTree();

// Whether `path` lies inside `folder` (symbolic links resolved); false when either is empty.
bool liesInside(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace olvane::platform
