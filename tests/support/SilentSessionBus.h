#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace olvane::test {

// A session bus that takes connections on and never answers them, as a hung or stopped daemon:
// a socket of its own that listens and never accepts, set as the session bus of this process and
// of the children started meanwhile. Nothing another process does can make it answer.
class SilentSessionBus {
  public:
    explicit SilentSessionBus(const std::filesystem::path& folder);
    ~SilentSessionBus();
    SilentSessionBus(const SilentSessionBus&) = delete;
    SilentSessionBus& operator=(const SilentSessionBus&) = delete;

    bool ready() const { return socket_ >= 0; }

  private:
    int socket_ = -1;
    std::optional<std::string> previous_;
};

}  // namespace olvane::test
