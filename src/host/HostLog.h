#pragma once

#include <functional>
#include <string_view>

namespace olvane::host {

// The host's only diagnostics: one prefixed line per message on standard error. Standard output
// belongs to the browser and never carries a log.
class HostLog {
  public:
    using LineSink = std::function<void(std::string_view line)>;
    static constexpr std::string_view kPrefix = "[olvanemac-host] ";

    // Writes to standard error.
    HostLog();
    explicit HostLog(LineSink sink);

    void error(std::string_view message) const;

  private:
    LineSink sink_;
};

}  // namespace olvane::host
