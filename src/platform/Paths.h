#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace olvane::platform {

// Where the system keeps its files. Everything derives from HOME and the XDG variables, read
// once when the value is made.
class Paths {
  public:
    using Environment = std::function<std::optional<std::string>(const std::string&)>;

    static constexpr const char* kApplicationId = "so.olvane.mac";
    static constexpr const char* kGroupContainerName = "group.so.olvane.shared";
    static constexpr const char* kWatchdogUnitName = "com.olvane.watchdog.service";
    static constexpr const char* kAutostartEntryName = "OlvaneMac.desktop";

    explicit Paths(const Environment& environment);
    // From the process environment.
    static Paths fromProcessEnvironment();

    const std::filesystem::path& home() const { return home_; }
    // The application's data folder.
    std::filesystem::path dataFolder() const { return dataHome_ / "OlvaneMac"; }
    // The folder shared with the browser side.
    std::filesystem::path sharedContainer() const { return dataHome_ / kGroupContainerName; }
    std::filesystem::path cachesFolder() const { return cacheHome_ / "OlvaneMac"; }
    std::filesystem::path defaultsFile() const {
        return configHome_ / "OlvaneMac" / "defaults.json";
    }
    // Per-session scratch space of our own; never a shared /tmp.
    std::filesystem::path runtimeFolder() const;
    std::filesystem::path watchdogUnitFile() const {
        return configHome_ / "systemd" / "user" / kWatchdogUnitName;
    }
    std::filesystem::path autostartEntry() const {
        return configHome_ / "autostart" / kAutostartEntryName;
    }
    std::filesystem::path trashFolder() const { return dataHome_ / "Trash"; }
    const std::filesystem::path& dataHome() const { return dataHome_; }
    const std::filesystem::path& configHome() const { return configHome_; }
    const std::filesystem::path& cacheHome() const { return cacheHome_; }
    // The system data folders searched after dataHome() (XDG_DATA_DIRS), most important first.
    const std::vector<std::filesystem::path>& dataDirs() const { return dataDirs_; }
    // Where desktop entries are looked up, in order: dataHome() first, then dataDirs().
    std::vector<std::filesystem::path> applicationEntryFolders() const;
    // True when XDG_RUNTIME_DIR was set to a usable absolute folder.
    bool hasSessionRuntimeDir() const { return runtimeDir_.has_value(); }
    // XDG_RUNTIME_DIR itself, when set.
    const std::optional<std::filesystem::path>& sessionRuntimeDir() const { return runtimeDir_; }

  private:
    std::filesystem::path home_;
    std::filesystem::path dataHome_;
    std::filesystem::path configHome_;
    std::filesystem::path cacheHome_;
    std::vector<std::filesystem::path> dataDirs_;
    std::optional<std::filesystem::path> runtimeDir_;
};

// Creates `folder` and its missing parents; the folders created are private (0700).
Status ensurePrivateFolder(const std::filesystem::path& folder);

}  // namespace olvane::platform
