#pragma once

#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/ServiceManager.h"

namespace olvane::platform::os {

// The systemd user manager through `systemctl --user`. It is asked only when it runs: its
// private socket is in the session's runtime folder.
class SystemctlServiceManager final : public ServiceManager {
  public:
    explicit SystemctlServiceManager(const Paths& paths, std::string systemctl = "systemctl");

    bool isRunning() override;
    Status reload() override;
    Status enable(const std::string& unit) override;
    Status disableAndStop(const std::string& unit) override;
    Status restart(const std::string& unit) override;
    bool isEnabled(const std::string& unit) override;
    bool isActive(const std::string& unit) override;

  private:
    Status run(const std::vector<std::string>& arguments);

    std::optional<std::filesystem::path> runtimeDir_;
    std::string systemctl_;
};

}  // namespace olvane::platform::os
