#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/RunningApplication.h"
#include "platform/WindowClassApplications.h"
#include "platform/linux/ProcessInfo.h"

namespace olvane::platform::os {

// What a window says of the program behind it; each empty when it says nothing.
struct WindowNames {
    // GTK's application ID (_GTK_APPLICATION_ID on X11).
    std::string gtkApplicationId;
    // WM_CLASS's class, or a Wayland window's app_id.
    std::string windowClass;
    // WM_CLASS's instance.
    std::string instance;
    // The desktop-file ID the desktop shell filed the window under, when it found one.
    std::string desktopId;
    // The application's name as the desktop shell shows it.
    std::string name;

    bool operator==(const WindowNames&) const = default;
};

// The application of a window's process, named as the application picker names it: the most
// precise name first (GTK's ID, a Flatpak's); a name the alias table knows; the desktop entry
// matching the window's class; the desktop shell's own match; the class or the executable.
class WindowApplications {
  public:
    explicit WindowApplications(std::vector<std::filesystem::path> applicationFolders);

    RunningApplication describe(pid_t pid, const WindowNames& names);

  private:
    ProcessInfo proc_;
    WindowClassApplications desktopEntries_;
};

}  // namespace olvane::platform::os
