// The real program under a real X server: start-up banner and the end of the start-up, one
// instance per session, the crash-recovery record while it runs, and the clean shutdown on
// SIGTERM.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/FileIO.h"
#include "platform/Json.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using namespace std::chrono_literals;

// A private Xvfb on a display number of its choosing; DISPLAY points at it while it lives.
class XvfbDisplay {
  public:
    XvfbDisplay() {
        if (!std::filesystem::exists(kXvfb)) {
            return;
        }
        server_.emplace(kXvfb, std::vector<std::string>{"-displayfd", "1", "-screen", "0",
                                                        "1280x800x24", "-nolisten", "tcp"});
        std::string number;
        while (number.empty() || number.back() != '\n') {
            const std::string byte = server_->readStdout(1, 10s);
            if (byte.empty()) {
                return;
            }
            number += byte;
        }
        number.pop_back();
        saved_ = environment("DISPLAY");
        savedPlatform_ = environment("QT_QPA_PLATFORM");
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");  // the program talks to the X server
        // libxkbcommon-x11 hands strndup() names that are not NUL-terminated, which strndup
        // allows; the strict string check of the sanitizer would stop the program for it.
        savedAsan_ = environment("ASAN_OPTIONS");
        ::setenv("ASAN_OPTIONS", (savedAsan_.value_or("") + ":strict_string_checks=0").c_str(), 1);
        ready_ = true;
    }
    ~XvfbDisplay() {
        if (ready_) {
            restore("DISPLAY", saved_);
            restore("QT_QPA_PLATFORM", savedPlatform_);
            restore("ASAN_OPTIONS", savedAsan_);
        }
        if (server_) {
            server_->signal(SIGTERM);
            server_->wait(5s);
        }
    }
    bool ready() const { return ready_; }

  private:
    static constexpr const char* kXvfb = "/usr/bin/Xvfb";
    static std::optional<std::string> environment(const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void restore(const char* name, const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }

    std::optional<test::ChildProcess> server_;
    std::optional<std::string> saved_;
    std::optional<std::string> savedPlatform_;
    std::optional<std::string> savedAsan_;
    bool ready_ = false;
};

// Whether the user defaults hold the crash-recovery record.
bool hasCrashRecord(const test::TempHome& home) {
    const auto text = platform::readWholeFile(home.paths().defaultsFile());
    const auto object = text ? json::parseObject(*text) : std::nullopt;
    return object && object->contains("com.olvane.lastKnownState");
}

TEST(OlvaneMacSmoke, StartsOnceAndShutsDownCleanlyOnSigterm) {
    test::TempHome home;
    XvfbDisplay display;
    if (!display.ready()) {
        GTEST_SKIP() << "Xvfb indisponible";
    }
    const auto program = test::builtExecutable("src/ui/shell/OlvaneMac");
    test::ChildProcess app(program);
    ASSERT_TRUE(app.waitForStderr("App: === OlvaneMac démarrage ===", 60s)) << app.stderrSoFar();
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", 60s)) << app.stderrSoFar();
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
    EXPECT_EQ(exit->code, 0) << app.readStderrToEnd(1s);
    EXPECT_FALSE(hasCrashRecord(home));
    EXPECT_FALSE(std::filesystem::exists(home.paths().dataFolder() / "watchdog-pid"));
}

}  // namespace
}  // namespace olvane
