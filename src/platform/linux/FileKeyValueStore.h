#pragma once

#include <filesystem>
#include <string>

#include "platform/Clock.h"
#include "platform/Json.h"
#include "platform/KeyValueStore.h"

namespace olvane::platform::os {

// The user defaults as one JSON object on disk, one member per key, each value the stored bytes
// in base64. Read once when opened; every change rewrites the file atomically. A link at the
// file's place (a dotfiles folder) is written through and stays a link.
class FileKeyValueStore final : public KeyValueStore {
  public:
    struct OpenReport {
        bool fileExisted = false;
        // Set when the file could not be parsed and was moved aside to this path.
        std::filesystem::path setAside;
        // Set when the file could not be read, or not moved aside: it stays as it is, and this
        // run neither writes to it nor replaces it.
        bool leftUntouched = false;
        ComposedText problem;
    };

    // `clock` dates the names of what is set aside.
    FileKeyValueStore(std::filesystem::path file, const Clock& clock);

    const OpenReport& openReport() const { return report_; }
    const std::filesystem::path& file() const { return file_; }
    // A place where something was set aside, as the logs show it.
    ComposedText describePlace(const std::filesystem::path& path) const;

    StoredValue get(std::string_view key) const override;
    Status set(std::string_view key, std::string_view bytes) override;
    Status remove(std::string_view key) override;
    Status keepAside(std::string_view key, ComposedText& where) override;
    Status removeDomain() override;

  private:
    void load();
    void setAsideUnparsable(const std::filesystem::path& target);
    std::filesystem::path writtenFile() const;
    Status persist(const Json& members) const;

    std::filesystem::path file_;
    const Clock& clock_;
    // The members as found: a value that is not base64 text is kept, and reads as undecodable.
    Json members_ = Json::object();
    OpenReport report_;
};

}  // namespace olvane::platform::os
