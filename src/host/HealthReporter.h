#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/HostFiles.h"
#include "platform/Clock.h"

namespace olvane::host {

// Knows which browser this host serves, once the extension has said so, and refreshes that
// browser's health file, by which the application sees the extension connected.
class HealthReporter {
  public:
    HealthReporter(HostFiles& files, const platform::Clock& clock);

    // "firefox" and "chrome"; the exact, case-sensitive names.
    static bool isServedBrowser(std::string_view name);

    // Never cleared; a later message may name the other browser.
    void connect(const std::string& browser) { connectedBrowser_ = browser; }
    const std::optional<std::string>& connectedBrowser() const { return connectedBrowser_; }

    // Writes nothing while no browser is known; a failure is silent.
    void writeHealthFile();

  private:
    HostFiles& files_;
    const platform::Clock& clock_;
    std::optional<std::string> connectedBrowser_;
};

}  // namespace olvane::host
