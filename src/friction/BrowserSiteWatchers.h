#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "friction/BrowserSiteWatcher.h"
#include "platform/Paths.h"

namespace olvane {

// The three site watchers keyed by their browser's application ID: Firefox and Chrome read
// their files in the data folder, Safari in the shared container, or in the data folder when
// the container cannot be had.
std::map<std::string, std::unique_ptr<BrowserSiteWatcher>> makeBrowserSiteWatchers(
    BrowserSiteWatcher::Collaborators collaborators, const std::filesystem::path& dataFolder,
    const std::optional<std::filesystem::path>& sharedContainer);

// The shared container, created when missing; absent when it cannot be.
std::optional<std::filesystem::path> availableSharedContainer(const platform::Paths& paths);

}  // namespace olvane
