#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/Host.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"
#include "platform/linux/DiskFileSystem.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimFileWatcher.h"
#include "support/TempHome.h"

namespace olvane::host {
namespace {

namespace fs = std::filesystem;
using platform::FileEvent;

struct RecordingSink final : MessageSink {
    std::vector<Json> sent;
    void send(const Json& message) override { sent.push_back(message); }
    void sendSerialised(std::string_view, std::string_view payload) override {
        sent.push_back(json::parse(payload).value_or(Json("not JSON")));
    }
};

class HostTiming : public ::testing::Test {
  protected:
    test::TempHome home;
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher watcher;
    std::vector<std::string> logLines;
    HostLog log{[this](std::string_view line) { logLines.emplace_back(line); }};
    OutputGate gate;
    RecordingSink out;
    platform::os::DiskFileSystem files;
    fs::path data = home.paths().dataFolder();
    fs::path rulesPath = data / exchange::kRulesFile;
    Host host{{loop, watcher, files, loop.clock(), log, gate, out}, data};

    // Rewrites the rules in place with a modification time `secondsLater` than the seed's.
    void rewriteRules(const std::string& text, int secondsLater) {
        const auto seeded = fs::last_write_time(rulesPath);
        ASSERT_TRUE(platform::writeFileInPlace(rulesPath, text));
        fs::last_write_time(rulesPath, seeded + std::chrono::seconds(secondsLater));
    }
    double rulesTime() const {
        return static_cast<double>(*platform::modificationTimeNs(rulesPath)) / 1e9;
    }
};

TEST_F(HostTiming, SeedsTheRulesAndPushesOnceATenthOfASecondAfterTheLastEventOfABurst) {
    host.startRulesWatcher();
    EXPECT_EQ(platform::readWholeFile(rulesPath), "{}");
    EXPECT_EQ(test::permissionsOf(data), 0700u);
    ASSERT_TRUE(watcher.isWatched(rulesPath));

    rewriteRules(R"({"youtube": {"yt_shorts": true}})", 1);
    for (int i = 0; i < 3; ++i) {
        watcher.fire(rulesPath, FileEvent::Write);
        loop.advanceSeconds(0.05);
    }
    // A request in the meantime answers the new rules and does not swallow the push.
    host.handle("GET_RULES", Json::object());
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_FALSE(out.sent[0].contains("source"));
    loop.advanceSeconds(0.049);
    EXPECT_EQ(out.sent.size(), 1u);
    loop.advanceSeconds(0.001);
    ASSERT_EQ(out.sent.size(), 2u);
    EXPECT_EQ(out.sent[1], (Json{{"type", "RULES"},
                                 {"rules", {{"youtube", {{"yt_shorts", true}}}}},
                                 {"timestamp", rulesTime()},
                                 {"source", "file_change"}}));
    EXPECT_TRUE(out.sent[1]["timestamp"].is_number_float());

    // An event that leaves the modification time where it was pushes nothing.
    watcher.fire(rulesPath, FileEvent::Write);
    loop.advanceSeconds(1);
    EXPECT_EQ(out.sent.size(), 2u);
    EXPECT_TRUE(logLines.empty());
}

TEST_F(HostTiming, FollowsTheNameThroughDeletionRecreationAndReplacementByRename) {
    host.startRulesWatcher();
    fs::remove(rulesPath);
    watcher.fire(rulesPath, FileEvent::Delete);
    loop.advanceSeconds(0.1);
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0]["rules"], Json::object());
    EXPECT_TRUE(out.sent[0]["timestamp"].is_number_integer());
    EXPECT_EQ(out.sent[0]["timestamp"], 0);

    // A file placed later at the path reaches the extension too.
    ASSERT_TRUE(platform::writeFileAtomically(rulesPath, R"({"_grayscale": {}})"));
    watcher.fire(rulesPath, FileEvent::Create | FileEvent::Rename);
    loop.advanceSeconds(0.1);
    ASSERT_EQ(out.sent.size(), 2u);
    EXPECT_EQ(out.sent[1]["rules"], (Json{{"_grayscale", Json::object()}}));

    rewriteRules("{not json", 5);
    watcher.fire(rulesPath, FileEvent::Write);
    loop.advanceSeconds(0.1);
    ASSERT_EQ(out.sent.size(), 3u);
    EXPECT_EQ(out.sent[2]["rules"], Json::object());
    EXPECT_EQ(out.sent[2]["timestamp"], rulesTime());
    EXPECT_EQ(logLines, std::vector<std::string>{
                            "[olvanemac-host] loadRules: lecture/parsing rules.json échoué: JSON "
                            "invalide à l’octet 3 — fichier potentiellement corrompu\n"});
}

TEST_F(HostTiming, BeatsEveryTwentySecondsAndRefreshesTheHealthFileOnceABrowserIsKnown) {
    host.startRulesWatcher();
    host.startHeartbeat();
    const auto health = data / exchange::healthFileName("chrome");
    const double start = loop.clock().unixNow();

    loop.advanceSeconds(19.999);
    EXPECT_TRUE(out.sent.empty());
    loop.advanceSeconds(0.001);
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0], (Json{{"type", "HEARTBEAT"}, {"timestamp", start + 20}}));
    EXPECT_FALSE(fs::exists(health));
    EXPECT_FALSE(fs::exists(data / exchange::healthFileName("firefox")));

    loop.advanceSeconds(5);
    host.handle("INIT", Json{{"browser", "chrome"}});
    EXPECT_EQ(exchange::readJsonObject(health),
              (Json{{"browser", "chrome"}, {"timestamp", start + 25}}));
    loop.advanceSeconds(15);
    ASSERT_EQ(out.sent.size(), 2u);
    EXPECT_EQ(out.sent[1]["timestamp"], start + 40);
    EXPECT_EQ(exchange::readJsonObject(health)->at("timestamp"), start + 40);
    loop.advanceSeconds(40);
    EXPECT_EQ(out.sent.size(), 4u);
}

}  // namespace
}  // namespace olvane::host
