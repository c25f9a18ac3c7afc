#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

#include "model/exchange/ExchangeFiles.h"
#include "model/exchange/FrameCodec.h"
#include "platform/FileIO.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class SafariExtensionProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::ensurePrivateFolder(container));
        ASSERT_TRUE(platform::writeFileInPlace(container / "rules.json", R"({
            "youtube": {"enabled": true, "rules": {"yt_shorts": true}},
            "_grayscale": {"allowedSites": ["docs.test"]},
            "_redList": {"sites": [{"domain": "site.test", "delay": true, "delaySeconds": 45,
                                    "displayName": "Site"}]}})"));
    }

    void send(const Json& frame) {
        ASSERT_TRUE(child.writeStdin(exchange::encodeFrame(frame.dump())));
    }
    std::optional<Json> receive() {
        const std::string prefix = child.readStdout(4, 10s);
        if (prefix.size() != 4) {
            return std::nullopt;
        }
        std::uint32_t length = 0;
        std::memcpy(&length, prefix.data(), 4);
        return json::parseObject(child.readStdout(length, 10s));
    }
    // Frames are served in order: once this is answered, every earlier one was handled.
    void sync() {
        send({{"event", "validateToolbarItem"}});
        const auto reply = receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ((*reply)["event"], "toolbarItemValidated");
    }
    Json file(const std::string& name) {
        return exchange::readJsonObject(container / name).value_or(Json());
    }

    test::TempHome home;
    fs::path container = home.paths().sharedContainer();
    test::ChildProcess child{
        test::builtExecutable("src/safari-extension/olvanemac-safari-extension")};
};

TEST_F(SafariExtensionProcess, ServesAPageSession) {
    send({{"name", "PAGE_INIT"},
          {"page", "tab-1"},
          {"userInfo", {{"url", "https://www.site.test/x"}}}});
    const auto reply = receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(
        *reply,
        (Json{{"name", "PAGE_CONFIG"},
              {"page", "tab-1"},
              {"userInfo",
               {{"rules", {{"youtube", {{"enabled", true}, {"rules", {{"yt_shorts", true}}}}}}},
                {"hasDelay", true},
                {"delaySeconds", 45},
                {"delayName", "Site"}}}}));
    EXPECT_EQ(file("grayscale-command.json")["action"], "enable");
    EXPECT_EQ(file("grayscale-command.json")["domain"], "site.test");

    send({{"name", "SITE_CONTEXT"}, {"userInfo", {{"domain", "Docs.test/guide"}}}});
    send({{"name", "FULLSCREEN_VIDEO"}, {"userInfo", {{"isFullscreen", true}}}});
    sync();
    EXPECT_EQ(file("safari-site.json")["domain"], "Docs.test/guide");
    EXPECT_EQ(file("grayscale-command.json")["action"], "disable");
    EXPECT_EQ(file("grayscale-command.json")["domain"], "Docs.test");
    EXPECT_EQ(file("fullscreen-command.json")["action"], "fullscreen_start");
    const double siteTime = file("safari-site.json")["timestamp"].get<double>();
    const double wallNow =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_NEAR(siteTime, wallNow, 60);

    send({{"event", "willNavigate"}, {"url", "https://other.test/"}});
    sync();
    EXPECT_EQ(file("safari-site.json")["domain"], "Docs.test/guide");
    send({{"event", "willNavigate"}, {"url", nullptr}});
    sync();
    EXPECT_EQ(file("safari-site.json")["domain"], "");
    EXPECT_EQ(file("grayscale-command.json")["action"], "enable");

    child.closeStdin();
    const auto exit = child.wait(10s);
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->code, 0);
}

TEST_F(SafariExtensionProcess, ToolbarStartsTheApplicationFromItsDesktopEntry) {
    const fs::path marker = home.root() / "application-started";
    const fs::path applications = home.paths().dataHome() / "applications";
    fs::create_directories(applications);
    ASSERT_TRUE(platform::writeFileInPlace(
        applications / "so.olvane.mac.desktop",
        "[Desktop Entry]\nType=Application\nName=OlvaneMac\nExec=touch " + marker.string() + "\n"));
    send({{"event", "toolbarItemClicked"}});
    sync();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!fs::exists(marker) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(fs::exists(marker));
}

TEST_F(SafariExtensionProcess, EndsQuietlyOnAMalformedFrame) {
    // In one write, so that the frame after the malformed one is there before it ends.
    ASSERT_TRUE(child.writeStdin(std::string(4, '\0') +
                                 exchange::encodeFrame(Json{{"name", "FULLSCREEN_VIDEO"}}.dump())));
    const auto exit = child.wait(10s);
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->code, 0);
    EXPECT_FALSE(fs::exists(container / "fullscreen-command.json"));
    EXPECT_EQ(child.readStdoutToEnd(1s), "");
    EXPECT_FALSE(child.writeStdin("x")) << "its stdin is closed";
}

}  // namespace
}  // namespace olvane
