#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace olvane::test {

// A desktop's stand-in on the session bus, as a real process.
class DesktopStandIn {
  public:
    // KWin: it states `version` in its support information and writes one line to its standard
    // output for each effect call and each notice of a kwinrc change ("loadEffect
    // colorblindnesscorrection", "kwinrc changed: Effect-…: Mode,Intensity"). `effectLoaded`:
    // the effect is loaded from the start, as the user's own.
    static std::unique_ptr<DesktopStandIn> kwin(const std::string& version,
                                                bool effectLoaded = false);
    // Only GNOME Shell's name.
    static std::unique_ptr<DesktopStandIn> gnomeShell();
    // A StatusNotifier tray whose host is there; writes "item SERVICE" for each icon registered.
    static std::unique_ptr<DesktopStandIn> statusNotifierWatcher();

    explicit DesktopStandIn(const std::vector<std::string>& arguments);

    // Once it owns its name.
    bool ready() const { return ready_; }
    // The next line it wrote, without its end; empty after `timeout`.
    std::string nextLine(std::chrono::milliseconds timeout = kPatience);
    // Skips lines until it wrote `line`; false when it did not within `timeout` a line.
    bool skipTo(const std::string& line, std::chrono::milliseconds timeout = kPatience);
    // Empty when it wrote nothing more within a short while.
    std::string lineIfAny() { return nextLine(std::chrono::milliseconds(100)); }

  private:
    ChildProcess process_;
    bool ready_ = false;
};

// KDE's lock on `file` (kwinrc…), held as a live program holds it: by this process. The path of
// the lock file; empty when it could not be written.
std::filesystem::path holdKConfigFileLock(const std::filesystem::path& file);

}  // namespace olvane::test
