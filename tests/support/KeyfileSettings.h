#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "support/TempHome.h"

namespace olvane::test {

// GSettings kept in a keyfile of the temporary HOME (GSETTINGS_BACKEND=keyfile), for this process
// and the children started meanwhile. GLib fixes the file at its first use in a process, so one
// per test.
class KeyfileSettings {
  public:
    explicit KeyfileSettings(const TempHome& home);
    ~KeyfileSettings();
    KeyfileSettings(const KeyfileSettings&) = delete;
    KeyfileSettings& operator=(const KeyfileSettings&) = delete;

    const std::filesystem::path& file() const { return file_; }
    // The user's own values, as keyfile text; before anything in the process used GSettings.
    void write(const std::string& text) const;
    // What the keyfile holds for `key` of `schema` ("org.gnome.desktop.a11y.magnifier");
    // nullopt when the key holds its default.
    std::optional<std::string> value(const std::string& schema, const std::string& key) const;

  private:
    std::filesystem::path file_;
};

}  // namespace olvane::test
