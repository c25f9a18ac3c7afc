#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace olvane::test {

// A fresh folder in memory (/dev/shm), removed with the object; `fallback` where there is none.
class ScratchFolder {
  public:
    explicit ScratchFolder(std::filesystem::path path, bool owned)
        : path_(std::move(path)), owned_(owned) {}
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ScratchFolder(ScratchFolder&&) = default;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    bool owned_;
};
ScratchFolder memoryFolderOr(const std::filesystem::path& fallback);

struct KilledSavesReport {
    int kills = 0;
    // Kills after which the file did not hold one whole save, no older than the one before.
    int corrupt = 0;
    // The first such finding, for the failure message.
    std::string firstProblem;
    // The numbering of the last save found: how far the children got.
    long long lastSave = 0;
    // Temporary files of unfinished writes beside the settings file at the end.
    int leftovers = 0;
};

// Forks, `kills` times, a child that saves the settings into `file` over and over, each save
// numbered one past the last stored, and SIGKILLs it after up to two whole saves (a random
// number) and a random delay of up to `maxDelay`.
// After each kill the file must decode to the settings of one whole save, as new as or newer
// than the one found after the previous kill.
KilledSavesReport killDuringSaves(const std::filesystem::path& file, int kills,
                                  std::chrono::microseconds maxDelay, unsigned seed);

}  // namespace olvane::test
