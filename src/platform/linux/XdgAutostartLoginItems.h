#pragma once

#include <filesystem>
#include <string>

#include "platform/LoginItems.h"
#include "platform/Paths.h"

namespace olvane::platform::os {

// The application as an XDG autostart entry ($XDG_CONFIG_HOME/autostart/OlvaneMac.desktop),
// which desktop sessions start at login.
class XdgAutostartLoginItems final : public LoginItems {
  public:
    XdgAutostartLoginItems(const Paths& paths, std::filesystem::path executable);

    // Enabled while our entry is there, starts this executable and is not switched off by the
    // desktop's settings ("Hidden=true", "X-GNOME-Autostart-enabled=false"); notFound when the
    // program is gone.
    ServiceStatus status() override;
    Status registerApplication() override;
    // Removes our entry whatever it starts.
    Status unregisterApplication() override;
    // Every *.desktop file of the autostart folder whose Exec program is this very executable,
    // compared as files (a link to it counts).
    Removal removeEveryEntry() override;

    // The entry's text.
    static std::string entryText(const std::filesystem::path& executable);

  private:
    std::filesystem::path entry_;
    std::filesystem::path executable_;
};

// The Exec value of a desktop entry that starts `program` with no argument.
std::string desktopExecValue(const std::filesystem::path& program);

}  // namespace olvane::platform::os
