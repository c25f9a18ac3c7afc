#pragma once

#include <filesystem>
#include <string>

#include "platform/ComposedText.h"
#include "platform/RunningProgram.h"

namespace olvane::platform {

// A shared object of ours, opened on first use so that the libraries it needs are loaded then and
// not when the program starts. Looked for beside the running program, then, for a program that
// runs from the build tree, where the build put it. Only a regular file of the very build this
// program was built with (its GNU build ID, `buildId`) is loaded, never one installed over it
// since: the running program was not made for that one. Never closed: what it made may live as
// long as the process.
class LoadableModule {
  public:
    LoadableModule(std::string fileName, std::filesystem::path builtAt, std::string buildId,
                   std::filesystem::path program = runningProgram(),
                   std::filesystem::path buildTree = compiledBuildTree());
    LoadableModule(const LoadableModule&) = delete;
    LoadableModule& operator=(const LoadableModule&) = delete;

    // The named entry point, the module opened at the first call; null when the module or the
    // entry point is missing (`failure()` says why). A module refused at the first call stays so.
    void* entryPoint(const char* name);
    // In French: the module file (the path tried, or where it was looked for, the user's data)
    // and the reason, ours or the loader's.
    const ComposedText& failure() const { return failure_; }

  private:
    bool open();
    bool load(const std::filesystem::path& path);

    std::string fileName_;
    std::filesystem::path builtAt_;
    std::string buildId_;
    std::filesystem::path program_;
    std::filesystem::path buildTree_;
    std::filesystem::path opened_;
    void* handle_ = nullptr;
    bool tried_ = false;
    ComposedText failure_;
};

}  // namespace olvane::platform
