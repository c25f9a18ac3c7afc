#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace olvane::safari {

// The two parts of a page address the extension looks at.
class PageUrl {
  public:
    // nullopt for text that is no URL reference (empty, control characters, a bad authority).
    static std::optional<PageUrl> parse(std::string_view text);

    // As written, percent-decoded, without brackets around an IP literal; empty without one.
    const std::string& host() const { return host_; }
    // Percent-decoded, without query or fragment; empty for "https://site.test".
    const std::string& path() const { return path_; }

  private:
    PageUrl(std::string host, std::string path) : host_(std::move(host)), path_(std::move(path)) {}

    std::string host_;
    std::string path_;
};

}  // namespace olvane::safari
