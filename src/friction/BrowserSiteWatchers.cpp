#include "friction/BrowserSiteWatchers.h"

#include "model/BrowserType.h"
#include "model/exchange/ExchangeFiles.h"

namespace olvane {

std::map<std::string, std::unique_ptr<BrowserSiteWatcher>> makeBrowserSiteWatchers(
    BrowserSiteWatcher::Collaborators collaborators, const std::filesystem::path& dataFolder,
    const std::optional<std::filesystem::path>& sharedContainer) {
    std::map<std::string, std::unique_ptr<BrowserSiteWatcher>> watchers;
    for (const auto browser : allCases<BrowserType>()) {
        const auto& folder =
            browser == BrowserType::safari && sharedContainer ? *sharedContainer : dataFolder;
        std::string id(bundleIdentifier(browser));
        watchers.emplace(id, std::make_unique<BrowserSiteWatcher>(
                                 collaborators, std::string(displayName(browser)), id,
                                 exchange::siteFileName(rawValue(browser)), folder));
    }
    return watchers;
}

std::optional<std::filesystem::path> availableSharedContainer(const platform::Paths& paths) {
    auto container = paths.sharedContainer();
    if (!platform::ensurePrivateFolder(container)) {
        return std::nullopt;
    }
    return container;
}

}  // namespace olvane
