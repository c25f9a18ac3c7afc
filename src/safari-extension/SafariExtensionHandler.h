#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Json.h"
#include "platform/Paths.h"
#include "safari-extension/ApplicationOpener.h"
#include "safari-extension/SafariPage.h"

namespace olvane::safari {

// The extension's whole behaviour: answers a page's first message with its configuration and
// turns what pages report into the files of the shared container that the application watches.
// It keeps nothing between messages but the container's location, and never fails loudly.
class SafariExtensionHandler {
  public:
    static constexpr const char* kPageInit = "PAGE_INIT";
    static constexpr const char* kSiteContext = "SITE_CONTEXT";
    static constexpr const char* kFullscreenVideo = "FULLSCREEN_VIDEO";
    static constexpr const char* kBrowserName = "safari";

    SafariExtensionHandler(const platform::Paths& paths, platform::FileSystem& files,
                           const platform::Clock& clock, ApplicationOpener& opener);

    // `userInfo` may be anything; what is not an object counts as empty.
    void messageReceived(std::string_view name, SafariPage& page, const Json& userInfo);
    void handlePageInit(SafariPage& page, const Json& userInfo);
    void handleSiteContext(const Json& userInfo);
    void handleFullscreenVideo(const Json& userInfo);
    // "disable" when the page is an allowed site, "enable" otherwise; nothing when the rules
    // carry no allowed-sites list.
    void writeGrayscaleCommand(const std::string& domain, const std::string& path,
                               const Json& rules);

    // Safari is about to show another page; without an address the page has no site any more.
    void pageWillNavigateTo(const std::optional<std::string>& url);
    void toolbarItemClicked();
    void validateToolbarItem(const std::function<void(bool enabled, const std::string& badgeText)>&
                                 validationHandler) const;

    // The shared container, or the private runtime folder when it cannot be had (files written
    // there reach no one). Resolved on first use.
    const std::filesystem::path& containerURL();

    // Site matching, shared by the allowed sites and the delay entries.
    static std::string normalizedHost(std::string_view url);
    static bool matchesSite(std::string_view entry, std::string_view host, std::string_view path);
    // The first "_redList" site whose delay is on and whose domain matches the page.
    static std::optional<Json> delayEntry(std::string_view domain, std::string_view path,
                                          const Json& rules);

  private:
    Json readRules();
    void writeFile(const std::string& name, const Json& object);

    const platform::Paths& paths_;
    platform::FileSystem& files_;
    const platform::Clock& clock_;
    ApplicationOpener& opener_;
    std::optional<std::filesystem::path> container_;
};

}  // namespace olvane::safari
