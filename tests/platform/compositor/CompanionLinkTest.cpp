// OlvaneMac's end of the companion's contract on a private session bus: whom it answers, and
// what it takes of a report.
#include <gtest/gtest.h>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "support/ChildProcess.h"
#include "support/PrivateSessionBus.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

// `gdbus call` to OlvaneMac's object, as another program of the session would make it.
std::string callAsAnotherProgram(const std::string& method, const std::vector<std::string>& args) {
    std::vector<std::string> arguments{
        "call",          "--session",
        "--dest",        CompanionLink::kBusName,
        "--object-path", CompanionLink::kObjectPath,
        "--method",      std::string(CompanionLink::kInterface) + "." + method};
    arguments.insert(arguments.end(), args.begin(), args.end());
    test::ChildProcess gdbus("/usr/bin/gdbus", arguments);
    gdbus.wait(test::kPatience);
    return gdbus.readStdoutToEnd(1s) + gdbus.readStderrToEnd(1s);
}

TEST(CompanionLink, AnswersOnlyTheCompositorsOwnConnectionAndKeepsItsName) {
    test::PrivateSessionBus session;
    ASSERT_TRUE(session.ready());
    EpollRunLoop loop;
    auto bus = AsyncBus::open(loop);
    ASSERT_TRUE(bus);
    auto link = CompanionLink::create(loop, *bus);
    ASSERT_TRUE(link);
    bool reported = false;
    const auto reports = link->observeReport([&](const CompanionReport&) { reported = true; });

    // The loop serves OlvaneMac's end while the other program calls.
    std::string attach;
    std::thread caller([&] {
        attach = callAsAnotherProgram(
            "Attach", {R"({"compositor":"gnome-shell","version":"43.9","protocol":1})"});
        loop.quit();
    });
    loop.run();
    caller.join();
    EXPECT_NE(attach.find("AccessDenied"), std::string::npos) << attach;
    std::string report;
    std::thread reporter([&] {
        report = callAsAnotherProgram("Report", {R"({"windows":[]})"});
        loop.quit();
    });
    loop.run();
    reporter.join();
    EXPECT_NE(report.find("AccessDenied"), std::string::npos) << report;
    EXPECT_FALSE(link->companion());
    EXPECT_FALSE(reported);

    // Another OlvaneMac cannot take the name over.
    auto otherBus = AsyncBus::open(loop);
    ASSERT_TRUE(otherBus);
    EXPECT_FALSE(CompanionLink::create(loop, *otherBus));
}

TEST(CompanionReport, AWindowWithWrongMembersIsLeftOutAndAReportThatIsNoneIsRefusedWhole) {
    ComposedText error;
    const auto report = parseCompanionReport(
        R"({"focus": "2", "windows": [
              {"id": "1", "x11": 0, "pid": 10, "client": [0, 0, 1e300, 10]},
              {"id": "2", "x11": 4194307, "pid": 11, "class": "XTerm", "instance": "xterm",
               "type": "DIALOG", "above": true, "client": [10, 20, 300, 200], "frame": [10, -10, 300, 230],
               "scale": 2, "shown": false},
              {"id": "3", "x11": -1, "pid": 12, "client": [0, 0, 10, 10]},
              {"id": "", "x11": 0, "pid": 12, "client": [0, 0, 10, 10]},
              {"id": "5", "x11": 0, "pid": 1.5, "client": [0, 0, 10, 10]},
              {"id": "6", "x11": 0, "pid": 0, "client": [0, 0, -1, 10]},
              "7"]})",
        error);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->windows.size(), 1u);
    const auto& window = report->windows.front();
    EXPECT_EQ(window.id, "2");
    EXPECT_EQ(window.x11, 4194307u);
    EXPECT_EQ(window.pid, 11);
    EXPECT_EQ(window.names.windowClass, "XTerm");
    EXPECT_EQ(window.type, "DIALOG");
    EXPECT_TRUE(window.keptAbove);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(window.client, (Rect{10, 20, 300, 200}));
    EXPECT_EQ(window.frame, (Rect{10, -10, 300, 230}));
    EXPECT_EQ(window.pointScale, 2);
    EXPECT_EQ(report->focus, "2");

    for (const char* text : {"[]", R"({"windows": {}})", "{", R"({"focus": "1"})"}) {
        EXPECT_FALSE(parseCompanionReport(text, error)) << text;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(parseCompanionPointer("[1, 2, 3]"));
    EXPECT_EQ(parseCompanionPointer("[1.5, -2]"), (Point{1.5, -2}));
}

}  // namespace
}  // namespace olvane::platform::os
