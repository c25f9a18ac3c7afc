#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/Json.h"
#include "platform/Paths.h"
#include "platform/Status.h"

namespace olvane {

// Owns "rules.json", the file through which the application tells the browser side what to do:
// the data-folder copy that the host reads and the shared-container copy that the Safari
// extension reads. Every write replaces the file by a rename, so readers see an old or a new
// whole file, never a part; the host watches the folder by name, so it sees the rename.
class RulesFileService {
  public:
    // Creates the data folder when it is missing.
    explicit RulesFileService(const platform::Paths& paths);

    // The application's data folder, where every file it writes, exchanges or watches lives.
    std::filesystem::path appSupportDirectory() const { return dataFolder_; }
    std::filesystem::path rulesFile() const;
    std::filesystem::path sharedRulesFile() const;

    // Creates the data folder with its parents; a failure shows at the next write.
    void ensureDirectoryExists() const;

    // Sets one top-level section (or removes it when `value` is empty), keeps the others, writes
    // the file and copies it into the shared container.
    void updateRules(const std::string& key, const std::optional<Json>& value) const;

    // Copies the data-folder file into the shared container.
    void syncToGroupContainer() const;

    // Removes the keys of earlier versions; the file is rewritten only when one was present.
    void cleanLegacyKeys() const;

    // The current object; an empty one when the file is missing, unreadable, not JSON or not an
    // object. `problem` says why when the file existed but could not be used.
    Json readRules(platform::ComposedText* problem = nullptr) const;

    // Replaces the whole file, indented with sorted keys. No copy into the container: callers
    // that replace the whole object decide when to copy.
    platform::Status writeRules(const Json& rules) const;

    // Reads the object (logging why an existing file had to be set aside), lets `edit` change
    // it and writes it back. No copy into the container.
    platform::Status rewriteRules(const std::function<void(Json&)>& edit) const;

  private:
    std::filesystem::path dataFolder_;
    std::filesystem::path sharedContainer_;
};

}  // namespace olvane
