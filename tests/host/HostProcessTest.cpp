#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/Frame.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"

namespace olvane::host {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Generous: under ASan on a loaded machine the host takes seconds over a megabyte of rules.
constexpr auto kHostBound = 30s;

const Json kPing = {{"type", "PING"}};
const Json kPong = {{"type", "PONG"}, {"version", "1.2.0"}};

std::string frameOf(const Json& message) {
    return encodeFrame(json::dumpCompact(message));
}

std::string header(std::uint32_t length) {
    return std::string(reinterpret_cast<const char*>(&length), sizeof length);
}

// The real executable in a temporary HOME, started with arguments as Chrome passes them.
class HostProcess : public ::testing::Test {
  protected:
    test::TempHome home;
    fs::path data = home.paths().dataFolder();
    fs::path rulesPath = data / exchange::kRulesFile;
    std::unique_ptr<test::ChildProcess> child;

    void start() {
        child = std::make_unique<test::ChildProcess>(
            test::builtExecutable("src/host/olvanemac-host"),
            std::vector<std::string>{"chrome-extension://olvane/"});
    }
    void SetUp() override { start(); }
    // As start(), with standard output a pipe nobody reads any more: writes fail with EPIPE.
    void startWithOutputGone() {
        const auto pipe = home.root() / "browser-gone";
        ASSERT_TRUE(fs::exists(pipe) || ::mkfifo(pipe.c_str(), 0600) == 0);
        child = std::make_unique<test::ChildProcess>(
            "/bin/sh",
            std::vector<std::string>{"-c", R"(exec 3<>"$1" 4>"$1" 3<&-; exec "$0" x >&4 4>&-)",
                                     test::builtExecutable("src/host/olvanemac-host").string(),
                                     pipe.string()});
    }

    void sendRaw(const std::string& bytes) { ASSERT_TRUE(child->writeStdin(bytes)); }
    void send(const Json& message) { sendRaw(frameOf(message)); }
    std::optional<Json> receive(std::chrono::milliseconds timeout = kHostBound) {
        const auto head = child->readStdout(kFrameHeaderSize, timeout);
        if (head.size() < kFrameHeaderSize) {
            return std::nullopt;
        }
        const auto length = decodeLength(head.data());
        const auto payload = child->readStdout(length, timeout);
        return payload.size() == length ? json::parseObject(payload) : std::nullopt;
    }
    // The reply to `message`; pushes of rule changes on the way are passed over.
    Json roundTrip(const Json& message) {
        send(message);
        for (;;) {
            auto reply = receive();
            if (!reply) {
                return "no reply";
            }
            if (!reply->contains("source")) {
                return *reply;
            }
        }
    }
    // Replies come in order, so once PONG is back every earlier message has been handled.
    void sync() { EXPECT_EQ(roundTrip(kPing), kPong); }

    void expectEndsQuietly() {
        EXPECT_EQ(child->readStdoutToEnd(kHostBound), "");
        const auto exit = child->wait(kHostBound);
        ASSERT_TRUE(exit);
        EXPECT_TRUE(exit->exited);
        EXPECT_EQ(exit->code, 0);
    }
    Json fileAt(const std::string& name) {
        return exchange::readJsonObject(data / name).value_or(Json("absent"));
    }
    double now() const {
        return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

TEST_F(HostProcess, AnswersEachRequestAndReportsUnknownTypesVerbatim) {
    const auto rules = roundTrip({{"type", "GET_RULES"}});
    EXPECT_EQ(rules["type"], "RULES");
    EXPECT_EQ(rules["rules"], Json::object());
    ASSERT_TRUE(rules["timestamp"].is_number_float());  // the seed file's time
    EXPECT_DOUBLE_EQ(rules["timestamp"].get<double>(),
                     static_cast<double>(*platform::modificationTimeNs(rulesPath)) / 1e9);
    EXPECT_EQ(platform::readWholeFile(rulesPath), "{}");

    EXPECT_EQ(roundTrip(kPing), kPong);
    const auto error = [](const std::string& text) {
        return Json{{"type", "ERROR"}, {"message", text}};
    };
    EXPECT_EQ(roundTrip(Json::object()), error("Unknown message type: "));
    EXPECT_EQ(roundTrip({{"type", 7}}), error("Unknown message type: "));
    EXPECT_EQ(roundTrip({{"type", "get_rules"}}), error("Unknown message type: get_rules"));
    EXPECT_EQ(roundTrip({{"type", "PONG ✨"}}), error("Unknown message type: PONG ✨"));
    EXPECT_EQ(roundTrip({{"type", "SITE_CONTEXT"}, {"browser", "safari"}, {"domain", "a.fr"}}),
              error("Invalid browser for SITE_CONTEXT"));
    EXPECT_EQ(roundTrip({{"type", "SITE_CONTEXT"}, {"browser", "Chrome"}}),
              error("Invalid browser for SITE_CONTEXT"));
    EXPECT_EQ(roundTrip({{"type", "GRAYSCALE_COMMAND"}}),
              (Json{{"type", "GRAYSCALE_COMMAND_ACK"}, {"success", true}}));

    child->closeStdin();
    expectEndsQuietly();
    EXPECT_EQ(child->readStderrToEnd(1s), "");
}

TEST_F(HostProcess, WritesTheCommandSiteAndHealthFilesWithMembersTakingTheirDefaults) {
    const double before = now();
    send({{"type", "INIT"}, {"browser", "safari"}});
    send({{"type", "INIT"}, {"browser", 3}});
    sync();
    EXPECT_FALSE(fs::exists(data / "safari-health.json"));
    EXPECT_FALSE(fs::exists(data / "-health.json"));

    send({{"type", "INIT"}, {"browser", "chrome"}});
    send({{"type", "GRAYSCALE_COMMAND"}, {"action", "pause"}, {"domain", 12}});
    send({{"type", "FULLSCREEN_VIDEO"}, {"isFullscreen", "true"}});
    send({{"type", "SITE_CONTEXT"}, {"domain", "YouTube.com/watch"}});
    send({{"type", "SITE_CONTEXT"}, {"browser", false}, {"domain", 4}});
    send({{"type", "SITE_CONTEXT"}, {"browser", "chrome"}, {"domain", "x.com"}});
    EXPECT_EQ(receive(), (Json{{"type", "GRAYSCALE_COMMAND_ACK"}, {"success", true}}));
    sync();
    const double after = now();

    const auto within = [&](const Json& file) {
        const auto t = json::numberMember(file, "timestamp");
        return t && *t >= before && *t <= after;
    };
    auto health = fileAt("chrome-health.json");
    EXPECT_EQ(health["browser"], "chrome");
    EXPECT_TRUE(within(health));
    auto command = fileAt("grayscale-command.json");
    EXPECT_EQ(command["action"], "pause");
    EXPECT_EQ(command["domain"], "");
    EXPECT_TRUE(within(command));
    EXPECT_EQ(fileAt("fullscreen-command.json")["action"], "fullscreen_end");
    auto firefox = fileAt("firefox-site.json");
    EXPECT_EQ(firefox["domain"], "");  // the second report, mistyped, counts as Firefox
    EXPECT_TRUE(within(firefox));
    EXPECT_EQ(fileAt("chrome-site.json")["domain"], "x.com");

    send({{"type", "FULLSCREEN_VIDEO"}, {"isFullscreen", true}});
    send({{"type", "SITE_CONTEXT"}, {"domain", "YouTube.com/watch"}});
    sync();
    EXPECT_EQ(fileAt("fullscreen-command.json")["action"], "fullscreen_start");
    EXPECT_EQ(fileAt("firefox-site.json")["domain"], "YouTube.com/watch");

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(data)) {
        names.insert(entry.path().filename().string());
        EXPECT_EQ(test::permissionsOf(entry.path()), 0600u);
    }
    EXPECT_EQ(names, (std::set<std::string>{"rules.json", "chrome-health.json",
                                            "grayscale-command.json", "fullscreen-command.json",
                                            "firefox-site.json", "chrome-site.json"}));
}

TEST_F(HostProcess, AcknowledgesAFailedCommandWriteAndStaysSilentOnOtherFailures) {
    fs::create_directories(data / exchange::kGrayscaleCommandFile);
    fs::create_directories(data / exchange::kFullscreenCommandFile);
    const auto ack = roundTrip({{"type", "GRAYSCALE_COMMAND"}, {"action", "disable"}});
    EXPECT_EQ(ack["success"], false);
    EXPECT_NE(ack["error"].get<std::string>().find("Impossible d’écrire"), std::string::npos);
    send({{"type", "FULLSCREEN_VIDEO"}, {"isFullscreen", true}});
    sync();
    child->closeStdin();
    expectEndsQuietly();
}

TEST_F(HostProcess, EveryMalformedFrameEndsTheHostWithStatusZeroAndNoReply) {
    const std::string prefix = R"({"type":"PING","pad":")";
    const std::string longest =
        prefix + std::string(kMaxIncomingPayload - prefix.size() - 2, ' ') + "\"}";
    send(json::parse(longest).value());
    EXPECT_EQ(receive(), kPong);

    const std::vector<std::string> endings = {header(12).substr(0, 2),
                                              header(0),
                                              header(1'000'000),
                                              header(40) + "{\"type\":",
                                              frameOf(Json::array({"PING"})),
                                              encodeFrame("\"PING\""),
                                              encodeFrame("42"),
                                              encodeFrame("{\"type\": \"PING\"")};
    for (std::size_t i = 0; i < endings.size(); ++i) {
        SCOPED_TRACE(i);
        if (i > 0) {
            start();
        }
        sync();
        if (i == 0 || i == 3) {
            sendRaw(endings[i]);
            child->closeStdin();  // input ends inside the length, or inside the payload
        } else {
            sendRaw(endings[i] + frameOf(kPing));
        }
        expectEndsQuietly();
        const auto log = child->readStderrToEnd(1s);
        if (i == endings.size() - 1) {
            EXPECT_EQ(log,
                      "[olvanemac-host] readMessage: JSON parse échoué: JSON invalide à "
                      "l’octet 16\n");
        } else {
            EXPECT_EQ(log, "");
        }
    }
}

TEST_F(HostProcess, AnswersFramesSplitAcrossWritesInOrder) {
    const std::string stream =
        frameOf({{"type", "GET_RULES"}}) + frameOf(kPing) + frameOf({{"type", "nope"}});
    for (std::size_t at = 0; at < stream.size(); at += 5) {
        sendRaw(stream.substr(at, 5));
        std::this_thread::sleep_for(1ms);  // lets the reader see each piece on its own
    }
    EXPECT_EQ((*receive())["type"], "RULES");
    EXPECT_EQ(receive(), kPong);
    EXPECT_EQ((*receive())["message"], "Unknown message type: nope");
}

TEST_F(HostProcess, AnswersAPingAfterSlowerRequestsOnlyOnceTheirRepliesAreOut) {
    Json sites = Json::array();
    for (int i = 0; i < 2000; ++i) {
        sites.push_back({{"domain", "site-" + std::to_string(i) + ".fr"}});
    }
    sync();  // the host has made the data folder and seeded its rules
    ASSERT_TRUE(platform::writeFileAtomically(rulesPath, json::dumpPretty({{"sites", sites}})));
    std::string burst;
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i) {
        burst += frameOf({{"type", "GET_RULES"}}) + frameOf(kPing) + frameOf({{"type", "?"}}) +
                 frameOf(kPing);
        expected.insert(expected.end(), {"RULES", "PONG", "ERROR", "PONG"});
    }
    sendRaw(burst);
    std::vector<std::string> types;
    while (types.size() < expected.size()) {
        const auto reply = receive();
        ASSERT_TRUE(reply);
        if (!reply->contains("source")) {
            types.push_back(json::stringMember(*reply, "type").value_or(""));
        }
    }
    EXPECT_EQ(types, expected);
}

TEST_F(HostProcess, PushesEveryRewriteOfTheRulesInPlaceOrByRename) {
    sync();  // the watch is armed before the first message is read
    auto stamp = fs::last_write_time(rulesPath);
    const auto rewrite = [&](const fs::path& path, const std::string& text) {
        stamp += 3s;
        ASSERT_TRUE(platform::writeFileInPlace(path, text));
        fs::last_write_time(path, stamp);
    };
    const auto expectPush = [&](const Json& rules) {
        const auto push = receive();
        ASSERT_TRUE(push);
        EXPECT_EQ((*push)["source"], "file_change");
        EXPECT_EQ((*push)["rules"], rules);
        if (fs::exists(rulesPath)) {
            EXPECT_DOUBLE_EQ((*push)["timestamp"].get<double>(),
                             static_cast<double>(*platform::modificationTimeNs(rulesPath)) / 1e9);
        } else {
            EXPECT_EQ(json::dumpCompact((*push)["timestamp"]), "0");
        }
    };

    rewrite(rulesPath, R"({"youtube": {"yt_shorts": true}})");
    expectPush({{"youtube", {{"yt_shorts", true}}}});

    const auto staged = data / ".rules.json.new";
    rewrite(staged, R"({"_grayscale": {"allowedSites": ["wikipedia.org"]}})");
    fs::rename(staged, rulesPath);
    expectPush({{"_grayscale", {{"allowedSites", {"wikipedia.org"}}}}});

    rewrite(rulesPath, R"({"instagram": {"ig_reels": true}})");  // the file that came by rename
    expectPush({{"instagram", {{"ig_reels", true}}}});

    fs::remove(rulesPath);
    expectPush(Json::object());
    rewrite(rulesPath, R"({"linkedin": {}})");
    expectPush({{"linkedin", Json::object()}});

    // The whole data folder goes, then comes back with the application's next write.
    fs::remove_all(data);
    expectPush(Json::object());
    fs::create_directories(data);
    rewrite(rulesPath, R"({"facebook": {"fb_feed": true}})");
    expectPush({{"facebook", {{"fb_feed", true}}}});
    rewrite(rulesPath, R"({"facebook": {"fb_feed": false}})");
    expectPush({{"facebook", {{"fb_feed", false}}}});

    // Our own files in the same folder push nothing.
    send({{"type", "INIT"}, {"browser", "firefox"}});
    EXPECT_EQ(roundTrip(kPing), kPong);
}

TEST_F(HostProcess, ForwardsNoRulesItCannotSafelyCarry) {
    sync();
    ASSERT_TRUE(platform::writeFileInPlace(
        rulesPath, R"({"youtube": )" + std::string(600, '[') + std::string(600, ']') + "}"));
    EXPECT_EQ(roundTrip({{"type", "GET_RULES"}})["rules"], Json::object());
    EXPECT_TRUE(child->waitForStderr(
        "[olvanemac-host] loadRules: lecture/parsing rules.json échoué: imbrication JSON trop "
        "profonde (plus de 512 niveaux) — fichier potentiellement corrompu\n",
        kHostBound));

    ASSERT_TRUE(platform::writeFileInPlace(rulesPath, R"(["youtube"])"));
    EXPECT_EQ(roundTrip({{"type", "GET_RULES"}})["rules"], Json::object());

    // Longer than one message: answered as an unreadable file, never cut. Indented, a longer
    // file may still fit; one far too long is not even read.
    const auto expectNoRulesWithTheFileTime = [&](const std::string& logged) {
        auto reply = roundTrip({{"type", "GET_RULES"}});
        ASSERT_EQ(json::stringMember(reply, "type"), "RULES") << reply;
        EXPECT_EQ(reply["rules"], Json::object());
        EXPECT_DOUBLE_EQ(reply["timestamp"].get<double>(),
                         static_cast<double>(*platform::modificationTimeNs(rulesPath)) / 1e9);
        EXPECT_TRUE(child->waitForStderr(logged, kHostBound)) << child->stderrSoFar();
    };
    const std::string pad(kMaxOutgoingPayload - 200, 'x');
    const std::string indent(kMaxOutgoingPayload, ' ');
    ASSERT_TRUE(platform::writeFileInPlace(rulesPath, "{" + indent + R"("pad": ")" + pad + "\"}"));
    EXPECT_EQ(roundTrip({{"type", "GET_RULES"}})["rules"], (Json{{"pad", pad}}));
    ASSERT_TRUE(platform::writeFileInPlace(rulesPath, R"({"pad": ")" + pad + pad + "\"}"));
    expectNoRulesWithTheFileTime(
        "échoué: Fichier trop volumineux : 2096762 octets une fois compacté, un message au "
        "navigateur en porte au plus 1048448 — fichier potentiellement corrompu\n");
    fs::resize_file(rulesPath, 50 << 20);
    expectNoRulesWithTheFileTime("rules.json » : Fichier trop volumineux — fichier");

    fs::remove(rulesPath);
    ASSERT_EQ(::mkfifo(rulesPath.c_str(), 0600), 0);
    expectNoRulesWithTheFileTime("rules.json » : N’est pas un fichier ordinaire — fichier");
}

TEST_F(HostProcess, CarriesOutEveryMessageReadBeforeTheInputEndsEvenWithItsOutputGone) {
    // An extension that posts and disconnects at once; the ending raced the messages.
    for (int run = 0; run < 15; ++run) {
        SCOPED_TRACE(run);
        const bool outputGone = run % 3 == 2;
        if (outputGone) {
            startWithOutputGone();
        } else if (run > 0) {
            start();
        }
        const auto domain = "site-" + std::to_string(run) + ".fr";
        fs::remove(data / "firefox-health.json");
        sendRaw(frameOf({{"type", "INIT"}, {"browser", "firefox"}}) +
                frameOf({{"type", "SITE_CONTEXT"}, {"browser", "chrome"}, {"domain", domain}}) +
                frameOf({{"type", "GRAYSCALE_COMMAND"}, {"domain", domain}}));
        child->closeStdin();
        if (outputGone) {
            const auto exit = child->wait(kHostBound);
            ASSERT_TRUE(exit);
            EXPECT_TRUE(exit->exited && exit->code == 0);
        } else {
            EXPECT_EQ(child->readStdoutToEnd(kHostBound),
                      frameOf({{"type", "GRAYSCALE_COMMAND_ACK"}, {"success", true}}));
            expectEndsQuietly();
        }
        const auto member = [&](const std::string& file, const std::string& name) {
            return json::stringMember(fileAt(file), name).value_or("absent");
        };
        EXPECT_EQ(member("firefox-health.json", "browser"), "firefox");
        EXPECT_EQ(member("chrome-site.json", "domain"), domain);
        EXPECT_EQ(member("grayscale-command.json", "domain"), domain);
    }
}

TEST_F(HostProcess, LeavesOnlyWholeFramesWhenItEndsInTheMiddleOfReplying) {
    std::string burst;
    for (int i = 0; i < 500; ++i) {
        burst += frameOf(kPing);
    }
    sendRaw(burst + header(0));
    std::string out = child->readStdoutToEnd(kHostBound);
    ASSERT_TRUE(child->wait(kHostBound));
    const std::string pong = frameOf(kPong);
    EXPECT_EQ(out.size() % pong.size(), 0u);
    for (std::size_t at = 0; at < out.size(); at += pong.size()) {
        ASSERT_EQ(out.compare(at, pong.size(), pong), 0) << "at byte " << at;
    }
}

}  // namespace
}  // namespace olvane::host
