#pragma once

#include <filesystem>
#include <string>

#include "platform/Json.h"
#include "platform/KeyValueStore.h"

namespace olvane::platform::os {

// The user defaults as one JSON object on disk, one member per key, each value the stored bytes
// in base64. Read once when opened; every change rewrites the file atomically.
class FileKeyValueStore final : public KeyValueStore {
  public:
    struct OpenReport {
        bool fileExisted = false;
        // Set when the file could not be parsed and was moved aside to this path.
        std::filesystem::path setAside;
        ComposedText problem;
    };

    explicit FileKeyValueStore(std::filesystem::path file);

    const OpenReport& openReport() const { return report_; }
    const std::filesystem::path& file() const { return file_; }

    StoredValue get(std::string_view key) const override;
    Status set(std::string_view key, std::string_view bytes) override;
    Status remove(std::string_view key) override;
    Status removeDomain() override;

  private:
    void load();
    Status persist(const Json& members) const;

    std::filesystem::path file_;
    // The members as found: a value that is not base64 text is kept, and reads as undecodable.
    Json members_ = Json::object();
    OpenReport report_;
};

}  // namespace olvane::platform::os
