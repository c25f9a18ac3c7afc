#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"
#include "platform/linux/DiskFileSystem.h"
#include "platform/sim/CaptureLogSink.h"
#include "safari-extension/SafariExtensionHandler.h"
#include "support/TempHome.h"

namespace olvane::safari {
namespace {

namespace fs = std::filesystem;

constexpr double kNow = 1'767'225'600.5;

class FixedClock final : public platform::Clock {
  public:
    double unixNow() const override { return kNow; }
    platform::MonotonicTime monotonicNow() const override { return {}; }
};

class RecordingPage final : public SafariPage {
  public:
    void dispatchMessageToScript(const std::string& name, const Json& userInfo) override {
        messages.push_back({name, userInfo});
    }
    std::vector<std::pair<std::string, Json>> messages;
};

class RecordingOpener final : public ApplicationOpener {
  public:
    std::optional<fs::path> urlForApplication(std::string_view id) const override {
        lookedUp.emplace_back(id);
        return installedAt;
    }
    platform::Status openApplication(const fs::path& url) override {
        opened.push_back(url);
        return platform::Status::success();
    }

    std::optional<fs::path> installedAt;
    mutable std::vector<std::string> lookedUp;
    std::vector<fs::path> opened;
};

class SafariExtensionHandlerTest : public ::testing::Test {
  protected:
    fs::path container() const { return paths.sharedContainer(); }
    void writeRules(const Json& rules) {
        ASSERT_TRUE(platform::ensurePrivateFolder(container()));
        ASSERT_TRUE(platform::writeFileInPlace(container() / "rules.json", rules.dump()));
    }
    std::optional<Json> file(const std::string& name) const {
        return exchange::readJsonObject(container() / name);
    }
    Json pageInit(const Json& userInfo) {
        RecordingPage page;
        handler.messageReceived("PAGE_INIT", page, userInfo);
        EXPECT_EQ(page.messages.size(), 1u);
        EXPECT_EQ(page.messages.at(0).first, "PAGE_CONFIG");
        return page.messages.at(0).second;
    }
    void send(const std::string& name, const Json& userInfo) {
        RecordingPage page;
        handler.messageReceived(name, page, userInfo);
        EXPECT_TRUE(page.messages.empty()) << name << " got a reply";
    }

    test::TempHome home;
    platform::Paths paths = home.paths();
    FixedClock clock;
    RecordingOpener opener;
    platform::os::DiskFileSystem files;
    SafariExtensionHandler handler{paths, files, clock, opener};
};

Json configOf(Json rules, bool hasDelay, long long seconds, const std::string& name) {
    return {{"rules", std::move(rules)},
            {"hasDelay", hasDelay},
            {"delaySeconds", seconds},
            {"delayName", name}};
}

TEST_F(SafariExtensionHandlerTest, PageConfigCarriesTheContentRulesAndTheMatchingDelay) {
    const Json youtube = {{"enabled", true}, {"rules", {{"yt_shorts", true}}}};
    const auto rulesWith = [&](Json site) {
        return Json{{"youtube", youtube},
                    {"_grayscale", {{"allowedSites", {"other.test"}}}},
                    {"_redList", {{"sites", Json::array({std::move(site)})}}}};
    };
    const Json url = {{"url", "https://www.Site.test/watch?v=3"}};
    const Json site = {
        {"domain", "site.test"}, {"delay", true}, {"delaySeconds", 30}, {"displayName", "Site"}};

    writeRules(rulesWith(site));
    EXPECT_EQ(pageInit(url), configOf({{"youtube", youtube}}, true, 30, "Site"));
    EXPECT_EQ(file("grayscale-command.json"),
              (Json{{"action", "enable"}, {"domain", "site.test"}, {"timestamp", kNow}}));

    Json off = site;
    off["delay"] = false;
    writeRules(rulesWith(off));
    EXPECT_EQ(pageInit(url), configOf({{"youtube", youtube}}, false, 0, "site.test"));

    Json mistyped = site;
    mistyped["delaySeconds"] = "30";
    mistyped["displayName"] = 4;
    writeRules(rulesWith(mistyped));
    EXPECT_EQ(pageInit(url), configOf({{"youtube", youtube}}, true, 0, "site.test"));

    EXPECT_EQ(pageInit(Json::object()), configOf({{"youtube", youtube}}, false, 0, ""));
}

TEST_F(SafariExtensionHandlerTest, MissingOrBrokenRulesGiveAnEmptyConfigAndNoCommand) {
    EXPECT_EQ(pageInit({{"url", "https://site.test/"}}),
              configOf(Json::object(), false, 0, "site.test"));
    ASSERT_TRUE(platform::ensurePrivateFolder(container()));
    ASSERT_TRUE(platform::writeFileInPlace(container() / "rules.json", "{\"youtube\": "));
    EXPECT_EQ(pageInit({{"url", 12}}), configOf(Json::object(), false, 0, ""));
    // A user information that is not a dictionary counts as empty.
    EXPECT_EQ(pageInit(Json::array({1})), configOf(Json::object(), false, 0, ""));
    EXPECT_FALSE(file("grayscale-command.json"));
}

TEST_F(SafariExtensionHandlerTest, AllowedSitesDecideTheGrayscaleCommand) {
    writeRules({{"_grayscale", {{"allowedSites", {"docs.test", "=site.test/shorts"}}}}});
    pageInit({{"url", "https://m.Site.test/shorts?x=1"}});
    EXPECT_EQ(file("grayscale-command.json"),
              (Json{{"action", "disable"}, {"domain", "m.site.test"}, {"timestamp", kNow}}));

    // The site file keeps the report as is; the command takes its host part.
    send("SITE_CONTEXT", {{"domain", "WWW.Site.test/shorts/abc"}});
    EXPECT_EQ(file("safari-site.json"),
              (Json{{"domain", "WWW.Site.test/shorts/abc"}, {"timestamp", kNow}}));
    EXPECT_EQ(file("grayscale-command.json"),
              (Json{{"action", "enable"}, {"domain", "WWW.Site.test"}, {"timestamp", kNow}}));
    send("SITE_CONTEXT", {{"domain", "WWW.Site.test/shorts"}});
    EXPECT_EQ((*file("grayscale-command.json"))["action"], "disable");
    send("SITE_CONTEXT", {{"domain", "Docs.test"}});
    EXPECT_EQ((*file("grayscale-command.json"))["action"], "disable");

    writeRules({{"_grayscale", {{"allowedSites", Json::array()}}}});
    send("SITE_CONTEXT", {{"domain", "docs.test"}});
    EXPECT_EQ((*file("grayscale-command.json"))["action"], "enable");
}

TEST_F(SafariExtensionHandlerTest, WritesNoCommandWithoutAListOfAllowedSites) {
    for (const Json& rules :
         {Json{{"youtube", Json::object()}}, Json{{"_grayscale", {{"allowedApps", {"x"}}}}},
          Json{{"_grayscale", {{"allowedSites", {"docs.test", 3}}}}}}) {
        writeRules(rules);
        pageInit({{"url", "https://docs.test"}});
        send("SITE_CONTEXT", {{"domain", "docs.test"}});
        EXPECT_FALSE(file("grayscale-command.json")) << rules.dump();
    }
    EXPECT_EQ((*file("safari-site.json"))["domain"], "docs.test");
}

TEST_F(SafariExtensionHandlerTest, FullscreenVideoWritesStartOrEnd) {
    send("FULLSCREEN_VIDEO", {{"isFullscreen", true}});
    EXPECT_EQ(file("fullscreen-command.json"),
              (Json{{"action", "fullscreen_start"}, {"timestamp", kNow}}));
    send("FULLSCREEN_VIDEO", {{"isFullscreen", "true"}});
    EXPECT_EQ((*file("fullscreen-command.json"))["action"], "fullscreen_end");
    send("FULLSCREEN_VIDEO", nullptr);
    EXPECT_EQ((*file("fullscreen-command.json"))["action"], "fullscreen_end");
}

TEST_F(SafariExtensionHandlerTest, NavigationWithoutAddressClearsTheSite) {
    writeRules({{"_grayscale", {{"allowedSites", {"docs.test"}}}}});
    handler.pageWillNavigateTo("https://docs.test/");
    EXPECT_FALSE(file("safari-site.json"));

    handler.pageWillNavigateTo(std::nullopt);
    EXPECT_EQ(file("safari-site.json"), (Json{{"domain", ""}, {"timestamp", kNow}}));
    EXPECT_EQ(file("grayscale-command.json"),
              (Json{{"action", "enable"}, {"domain", ""}, {"timestamp", kNow}}));
}

TEST_F(SafariExtensionHandlerTest, UnknownMessagesAreOnlyLogged) {
    platform::sim::ScopedLogCapture capture;
    send("page_init", {{"url", "https://site.test"}});
    send("", Json::object());
    EXPECT_TRUE(capture->contains("", platform::LogLevel::Debug, "Message inconnu: page_init"));
    EXPECT_TRUE(capture->contains("", platform::LogLevel::Debug, "Message inconnu: "));
    EXPECT_FALSE(fs::exists(container() / "grayscale-command.json"));
    EXPECT_FALSE(fs::exists(container() / "safari-site.json"));
}

TEST_F(SafariExtensionHandlerTest, ToolbarOpensTheApplicationWhenInstalled) {
    handler.toolbarItemClicked();
    EXPECT_EQ(opener.lookedUp, (std::vector<std::string>{"so.olvane.mac"}));
    EXPECT_TRUE(opener.opened.empty());

    opener.installedAt = "/usr/share/applications/so.olvane.mac.desktop";
    handler.toolbarItemClicked();
    EXPECT_EQ(opener.opened, (std::vector<fs::path>{*opener.installedAt}));

    std::optional<std::pair<bool, std::string>> validation;
    handler.validateToolbarItem([&](bool on, const std::string& badge) {
        validation = {on, badge};
    });
    EXPECT_EQ(validation, (std::pair<bool, std::string>{true, ""}));
}

TEST_F(SafariExtensionHandlerTest, ContainerIsCreatedPrivateOrReplacedByTheRuntimeFolder) {
    EXPECT_EQ(handler.containerURL(), container());
    EXPECT_EQ(test::permissionsOf(container()), 0700u);

    // Something that is not a folder stands where the container should be.
    fs::remove_all(container());
    ASSERT_TRUE(platform::writeFileInPlace(container(), "not a folder"));
    SafariExtensionHandler cut(paths, files, clock, opener);
    // The first handler keeps the place it resolved: its writes now fail, silently.
    send("SITE_CONTEXT", {{"domain", "docs.test"}});
    cut.pageWillNavigateTo(std::nullopt);
    EXPECT_EQ(cut.containerURL(), paths.runtimeFolder());
    EXPECT_EQ(test::permissionsOf(paths.runtimeFolder()), 0700u);
    EXPECT_EQ((*exchange::readJsonObject(paths.runtimeFolder() / "safari-site.json"))["domain"],
              "");
    EXPECT_EQ(*platform::readWholeFile(container()), "not a folder");
}

}  // namespace
}  // namespace olvane::safari
