#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace olvane::platform {

// The keys of the [Desktop Entry] group of a freedesktop desktop entry, localised keys such as
// "Name[fr]" included as they are written, values unescaped.
class DesktopEntryKeys {
  public:
    // nullopt when the text has no [Desktop Entry] group.
    static std::optional<DesktopEntryKeys> parse(std::string_view text);

    // The value of `key`, empty when absent.
    std::string value(std::string_view key) const;
    bool has(std::string_view key) const { return keys_.contains(key); }
    // A boolean key: only "true" is true.
    bool isTrue(std::string_view key) const { return value(key) == "true"; }

  private:
    std::map<std::string, std::string, std::less<>> keys_;
};

}  // namespace olvane::platform
