#pragma once

#include <filesystem>
#include <optional>

#include "platform/FileWatcher.h"
#include "platform/Json.h"
#include "platform/Status.h"

namespace olvane::platform::os {

// The user's own values of the desktop settings that a grayscale switch changes, kept from the
// first switch on until they are put back: in a small private file, for the watchdog and the
// next run, and in memory, so that a removed data folder cannot take them; with a file watcher,
// the file is written again as soon as its folder is made again. While they are kept the settings
// are ours to restore; without them they are the user's and are never touched.
class SavedUserValues {
  public:
    explicit SavedUserValues(std::filesystem::path file, FileWatcher* files = nullptr)
        : file_(std::move(file)), files_(files) {}
    SavedUserValues(const SavedUserValues&) = delete;
    SavedUserValues& operator=(const SavedUserValues&) = delete;

    const std::filesystem::path& file() const { return file_; }
    bool exist() const;
    // nullopt when none are kept; an empty object when the file cannot be read or is not a JSON
    // object and memory holds nothing (the values are lost, but the settings are still ours to
    // put back).
    std::optional<Json> read() const;
    // Written atomically, 0600, in a private folder.
    Status save(const Json& values);
    // Holds the values of an earlier run in memory as well, and writes the file again from
    // memory when it went (its folder was removed meanwhile).
    Status keep();
    Status discard();
    // For a process that only ever gives the values back (the watchdog), with a file watcher:
    // from now on every version of the file is remembered, so that values whose data folder was
    // removed, or whose file was spoilt, are still known. A file removed alone was given back by
    // its writer, which removes nothing else: the remembered values stand only once the folder
    // itself went.
    void follow();

  private:
    bool lostWithTheirFolder() const;
    void watchFolder();
    void folderMadeAgain();
    void watchFile();
    void rememberFile();

    std::filesystem::path file_;
    FileWatcher* files_;
    std::optional<Json> remembered_;
    Handle folderWatch_;
    // While following.
    bool following_ = false;
    std::optional<Json> lastSeen_;
    bool folderWentSinceSeen_ = false;
    Handle fileWatch_;
};

}  // namespace olvane::platform::os
