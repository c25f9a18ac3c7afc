#pragma once

#include <string>

namespace olvane::ui {

// Opens a web address in the desktop's default browser.
class UrlOpener {
  public:
    virtual ~UrlOpener() = default;

    // An address that does not form a URL is ignored; so is the outcome.
    virtual void openUrl(const std::string& address) = 0;
};

}  // namespace olvane::ui
