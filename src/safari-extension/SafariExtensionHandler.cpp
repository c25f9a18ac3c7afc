#include "safari-extension/SafariExtensionHandler.h"

#include <algorithm>
#include <vector>

#include "model/Logger.h"
#include "model/exchange/ExchangeFiles.h"
#include "model/exchange/RulesFileFormat.h"
#include "safari-extension/PageConfig.h"
#include "safari-extension/PageUrl.h"

namespace olvane::safari {
namespace {

// The extension writes to the default log, without a category.
const Logger& defaultLog() {
    static const Logger logger("");
    return logger;
}

std::string stringOf(const Json& userInfo, std::string_view key) {
    return json::stringMember(userInfo, key).value_or("");
}

// "_grayscale" → "allowedSites" when it is there and holds only strings.
std::optional<std::vector<std::string>> allowedSiteList(const Json& rules) {
    const auto section = rules.find(exchange::kGrayscaleSection);
    if (section == rules.end() || !section->is_object()) {
        return std::nullopt;
    }
    const auto list = section->find(exchange::kAllowedSitesKey);
    if (list == section->end() || !list->is_array()) {
        return std::nullopt;
    }
    std::vector<std::string> sites;
    for (const auto& entry : *list) {
        if (!entry.is_string()) {
            return std::nullopt;
        }
        sites.push_back(entry.get<std::string>());
    }
    return sites;
}

}  // namespace

SafariExtensionHandler::SafariExtensionHandler(const platform::Paths& paths,
                                               platform::FileSystem& files,
                                               const platform::Clock& clock,
                                               ApplicationOpener& opener)
    : paths_(paths), files_(files), clock_(clock), opener_(opener) {}

void SafariExtensionHandler::messageReceived(std::string_view name, SafariPage& page,
                                             const Json& userInfo) {
    const Json info = userInfo.is_object() ? userInfo : Json::object();
    if (name == kPageInit) {
        handlePageInit(page, info);
    } else if (name == kSiteContext) {
        handleSiteContext(info);
    } else if (name == kFullscreenVideo) {
        handleFullscreenVideo(info);
    } else {
        defaultLog().debug("Message inconnu: %{public}s", name);
    }
}

void SafariExtensionHandler::handlePageInit(SafariPage& page, const Json& userInfo) {
    const std::string url = stringOf(userInfo, "url");
    const Json rules = readRules();
    const std::string domain = normalizedHost(url);
    const auto parsed = PageUrl::parse(url);
    const std::string path = parsed ? parsed->path() : "";
    const auto entry = delayEntry(domain, path, rules);
    writeGrayscaleCommand(domain, path, rules);
    page.dispatchMessageToScript(PageConfig::kMessageName,
                                 PageConfig::make(rules, domain, entry).toUserInfo());
}

void SafariExtensionHandler::handleSiteContext(const Json& userInfo) {
    // Written as reported: the application compares it with its own entries.
    const std::string domain = stringOf(userInfo, "domain");
    writeFile(exchange::siteFileName(kBrowserName),
              exchange::SiteContext{domain, clock_.unixNow()}.toJson());
    const auto slash = domain.find('/');
    const std::string host = domain.substr(0, slash);
    const std::string path = slash == std::string::npos ? "" : domain.substr(slash);
    writeGrayscaleCommand(host, path, readRules());
}

void SafariExtensionHandler::handleFullscreenVideo(const Json& userInfo) {
    const bool fullscreen = json::boolMember(userInfo, "isFullscreen").value_or(false);
    writeFile(exchange::kFullscreenCommandFile,
              exchange::FullscreenCommand::forState(fullscreen, clock_.unixNow()).toJson());
}

void SafariExtensionHandler::writeGrayscaleCommand(const std::string& domain,
                                                   const std::string& path, const Json& rules) {
    const auto sites = rules.empty() ? std::nullopt : allowedSiteList(rules);
    if (!sites) {
        return;
    }
    const bool allowed = std::any_of(sites->begin(), sites->end(), [&](const std::string& entry) {
        return matchesSite(entry, domain, path);
    });
    const exchange::GrayscaleCommand command{
        allowed ? exchange::kActionDisable : exchange::kActionEnable, domain, clock_.unixNow()};
    writeFile(exchange::kGrayscaleCommandFile, command.toJson());
}

void SafariExtensionHandler::pageWillNavigateTo(const std::optional<std::string>& url) {
    // With an address the page script reports the new site itself.
    if (!url) {
        handleSiteContext(Json::object());
    }
}

void SafariExtensionHandler::toolbarItemClicked() {
    if (const auto url = opener_.urlForApplication(platform::Paths::kApplicationId)) {
        if (const auto opened = opener_.openApplication(*url); !opened) {
            defaultLog().logError("Impossible d’ouvrir l’application", opened);
        }
    }
}

void SafariExtensionHandler::validateToolbarItem(
    const std::function<void(bool, const std::string&)>& validationHandler) const {
    validationHandler(true, "");
}

const std::filesystem::path& SafariExtensionHandler::containerURL() {
    if (!container_) {
        if (files_.ensurePrivateFolder(paths_.sharedContainer())) {
            container_ = paths_.sharedContainer();
        } else {
            // Our own private folder, never a shared temporary one with fixed names.
            container_ = paths_.runtimeFolder();
            (void)files_.ensurePrivateFolder(*container_);
        }
    }
    return *container_;
}

Json SafariExtensionHandler::readRules() {
    return exchange::readJsonObject(files_, containerURL() / exchange::kRulesFile)
        .value_or(Json::object());
}

void SafariExtensionHandler::writeFile(const std::string& name, const Json& object) {
    // Failures are silent: the page must never notice the application's side.
    (void)exchange::writeExchangeFile(files_, containerURL() / name, object);
}

}  // namespace olvane::safari
