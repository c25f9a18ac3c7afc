// The real program under a real X server: start-up banner and the end of the start-up, one
// instance per session, the crash-recovery record while it runs, and the clean shutdown on
// SIGTERM.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "platform/FileIO.h"
#include "platform/Json.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"
#include "support/XServer.h"

namespace olvane {
namespace {

using namespace std::chrono_literals;

// Whether the user defaults hold the crash-recovery record.
bool hasCrashRecord(const test::TempHome& home) {
    const auto text = platform::readWholeFile(home.paths().defaultsFile());
    const auto object = text ? json::parseObject(*text) : std::nullopt;
    return object && object->contains("com.olvane.lastKnownState");
}

// The first line of ours ("<category>: …") in what the program wrote on stderr.
std::string firstLineOfOurs(const std::string& output) {
    static const char* const kCategories[] = {
        "App",     "GrayscaleFilter", "ContentFilter", "FrictionEffects",
        "Hotkeys", "CrashRecovery",   "Settings",      "WindowMonitor"};
    std::size_t begin = 0;
    while (begin < output.size()) {
        const auto end = output.find('\n', begin);
        const auto line = output.substr(begin, end - begin);
        for (const char* category : kCategories) {
            if (line.rfind(std::string(category) + ": ", 0) == 0) {
                return line;
            }
        }
        if (end == std::string::npos) {
            break;
        }
        begin = end + 1;
    }
    return {};
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(OlvaneMacSmoke, StartsOnceAndShutsDownCleanlyOnSigterm) {
    test::TempHome home;
    test::XServer display;
    if (!display.ready()) {
        GTEST_SKIP() << "Xvfb indisponible";
    }
    const auto program = test::builtExecutable("src/ui/shell/OlvaneMac");
    test::ChildProcess app(program);
    ASSERT_TRUE(app.waitForStderr("App: === OlvaneMac démarrage ===", 60s)) << app.stderrSoFar();
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", 60s)) << app.stderrSoFar();
    EXPECT_EQ(firstLineOfOurs(app.stderrSoFar()), "App: === OlvaneMac démarrage ===");
    EXPECT_TRUE(hasCrashRecord(home));

    // A second launch hands over to the first and ends at once.
    test::ChildProcess again(program);
    const auto secondExit = again.wait(30s);
    ASSERT_TRUE(secondExit);
    EXPECT_TRUE(secondExit->exited && secondExit->code == 0) << again.readStderrToEnd(1s);
    EXPECT_NE(again.readStderrToEnd(1s).find("OlvaneMac tourne déjà"), std::string::npos);
    EXPECT_FALSE(app.wait(0ms));

    app.signal(SIGTERM);
    EXPECT_TRUE(app.waitForStderr("App: === OlvaneMac fermeture ===", 30s)) << app.stderrSoFar();
    EXPECT_TRUE(app.waitForStderr("App: Fermeture propre terminée", 30s)) << app.stderrSoFar();
    const auto exit = app.wait(30s);
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->exited) << "tué par le signal " << exit->code;
    const auto output = app.readStderrToEnd(1s);
    EXPECT_EQ(exit->code, 0) << output;
    EXPECT_EQ(occurrences(output, "Surveillance des raccourcis arrêtée"), 1u) << output;
    EXPECT_FALSE(hasCrashRecord(home));
    EXPECT_FALSE(std::filesystem::exists(home.paths().dataFolder() / "watchdog-pid"));
}

}  // namespace
}  // namespace olvane
