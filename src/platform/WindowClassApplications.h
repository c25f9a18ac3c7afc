#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/DesktopApplicationFiles.h"

namespace olvane::platform {

// The desktop-file ID of a window's application from its X11 class and instance (WM_CLASS), as
// desktop shells match them: the entry whose StartupWMClass is the class or the instance, else
// the entry whose ID is the class or the instance, as written, then lower-cased. The entries are
// read on the first lookup, and again when a lookup finds nothing and the folders changed.
class WindowClassApplications {
  public:
    explicit WindowClassApplications(std::vector<std::filesystem::path> folders);

    // Nothing when no entry matches.
    std::optional<std::string> applicationId(std::string_view windowClass,
                                             std::string_view instance);

  private:
    std::optional<std::string> match(std::string_view windowClass, std::string_view instance) const;
    void readEntries();
    bool foldersChanged() const;

    DesktopApplicationFiles files_;
    bool read_ = false;
    std::map<std::string, std::string, std::less<>> idByStartupClass_;
    std::set<std::string, std::less<>> ids_;
    std::vector<std::pair<std::filesystem::file_time_type, std::size_t>> stamp_;
};

}  // namespace olvane::platform
