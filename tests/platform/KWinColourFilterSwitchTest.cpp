// KWin's colour filter against a stand-in KWin on a private session bus.
#include <gtest/gtest.h>
#include <unistd.h>

#include "grayscale/AccessibilityBridge.h"
#include "platform/FileIO.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/linux/KWinColourFilterSwitch.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "support/DesktopStandIn.h"
#include "support/PrivateSessionBus.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

const std::string kOtherGroups =
    "[Desktops]\r\nNumber=4\r\nRows=1\r\n\r\n# the user's own comment\n"
    "[Plugins]\nblurEnabled=true\n";
// The user's own correction, between other groups, before a last line without its end.
const std::string kKwinrc =
    "[Desktops]\r\nNumber=4\r\nRows=1\r\n\r\n"
    "[Effect-colorblindnesscorrection]\nMode=1\nIntensity=0.5\n\n"
    "[Wayland]\nInputMethod[$e]=/usr/share/applications/fcitx5.desktop";

bool unloadEffectAsTheUser() {
    const auto bus = SessionBus::open();
    return bus && bus->call({"org.kde.KWin", "/Effects", "org.kde.kwin.Effects", "unloadEffect"},
                            "colorblindnesscorrection");
}

class KWinColourFilterSwitchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus_.ready());
        std::filesystem::create_directories(kwinrcFile_.parent_path());
    }

    std::string kwinrc() const { return readWholeFile(kwinrcFile_).value_or("(none)"); }
    void holdKwinrcLock() const { ASSERT_EQ(test::holdKConfigFileLock(kwinrcFile_), lockFile_); }

    test::TempHome home_;
    test::PrivateSessionBus bus_;
    std::filesystem::path kwinrcFile_ = home_.paths().configHome() / "kwinrc";
    std::filesystem::path savedFile_ = home_.paths().dataFolder() / "kwin-colour-filter-saved.json";
    std::filesystem::path lockFile_ = kwinrcFile_.string() + ".lock";
    KWinColourFilterSwitch filter_{home_.paths()};
};

TEST_F(KWinColourFilterSwitchTest, LoadsOnlyWhereMode3IsMonochrome) {
    EXPECT_FALSE(filter_.load()) << "no KWin on the bus";
    for (const auto& [version, usable] :
         {std::pair{"6.3.5", false}, {"6.5.91", false}, {"6.6.0", true}, {"7.0", true}}) {
        SCOPED_TRACE(version);
        const auto kwin = test::DesktopStandIn::kwin(version);
        ASSERT_TRUE(kwin->ready());
        EXPECT_EQ(filter_.load(), usable);
        EXPECT_EQ(filter_.hasSetEnabled(), usable);
    }
}

TEST_F(KWinColourFilterSwitchTest, AKwinrcThatCannotBeReadLeavesTheEffectAlone) {
    const auto kwin = test::DesktopStandIn::kwin("6.6.0");
    ASSERT_TRUE(kwin->ready());
    ASSERT_TRUE(filter_.load());
    std::filesystem::create_directory(kwinrcFile_);
    EXPECT_EQ(filter_.setEnabled(true).description().redacted(),
              "Impossible de lire « <private> » : Est un dossier");
    EXPECT_EQ(kwin->lineIfAny(), "");
}

TEST_F(KWinColourFilterSwitchTest, EffectLoadedForTheSessionThenEveryLineBack) {
    const struct {
        const char* name;
        std::optional<std::string> kwinrc;  // nullopt: no kwinrc yet
        bool effectLoaded;                  // by the user, before
        std::vector<std::string> onCalls, offCalls;
    } cases[] = {
        {"a user of the correction", kKwinrc, true, {"reconfigureEffect"}, {"reconfigureEffect"}},
        {"the effect unused", kOtherGroups, false, {"loadEffect"}, {"unloadEffect"}},
        {"no kwinrc", std::nullopt, false, {"loadEffect"}, {"unloadEffect"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.kwinrc) {
            ASSERT_TRUE(writeFileAtomically(kwinrcFile_, *c.kwinrc, 0644));
        }
        const auto kwin = test::DesktopStandIn::kwin("6.6.0", c.effectLoaded);
        ASSERT_TRUE(kwin->ready());
        ASSERT_TRUE(filter_.load());

        ASSERT_TRUE(filter_.setEnabled(true));
        EXPECT_EQ(kwin->nextLine(),
                  "kwinrc changed: Effect-colorblindnesscorrection: Mode,Intensity");
        for (const auto& call : c.onCalls) {
            EXPECT_EQ(kwin->nextLine(), call + " colorblindnesscorrection");
        }
        const auto grey = kwinrc();
        EXPECT_NE(grey.find("[Effect-colorblindnesscorrection]\nMode=3\nIntensity=1.0\n"),
                  std::string::npos)
            << grey;
        EXPECT_EQ(grey.find("colorblindnesscorrectionEnabled"), std::string::npos);
        EXPECT_EQ(test::permissionsOf(kwinrcFile_), c.kwinrc ? 0644u : 0600u);

        ASSERT_TRUE(filter_.setEnabled(false));
        EXPECT_EQ(kwin->nextLine(),
                  "kwinrc changed: Effect-colorblindnesscorrection: Mode,Intensity");
        for (const auto& call : c.offCalls) {
            EXPECT_EQ(kwin->nextLine(), call + " colorblindnesscorrection");
        }
        EXPECT_EQ(kwin->lineIfAny(), "");
        EXPECT_EQ(kwinrc(), c.kwinrc.value_or("(none)"));
        EXPECT_FALSE(existsAtPath(savedFile_));
        std::filesystem::remove(kwinrcFile_);
    }
}

TEST_F(KWinColourFilterSwitchTest, SecondSwitchOnAfterACrashKeepsTheFirstSavedLines) {
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kKwinrc));
    const auto kwin = test::DesktopStandIn::kwin("6.6.0", true);
    ASSERT_TRUE(kwin->ready());
    ASSERT_TRUE(filter_.load());
    ASSERT_TRUE(filter_.setEnabled(true));
    const auto saved = readWholeFile(savedFile_);

    KWinColourFilterSwitch nextRun(home_.paths());
    ASSERT_TRUE(nextRun.load());
    ASSERT_TRUE(nextRun.setEnabled(true));
    EXPECT_EQ(readWholeFile(savedFile_), saved);
    ASSERT_TRUE(nextRun.setEnabled(false));
    EXPECT_EQ(kwinrc(), kKwinrc);
}

TEST_F(KWinColourFilterSwitchTest, UnreadableSavedLinesOverAnEffectNotGreyAreNoOnes) {
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kKwinrc));
    std::filesystem::create_directories(savedFile_.parent_path());
    ASSERT_TRUE(writeFileAtomically(savedFile_, "{\"entries"));
    const auto kwin = test::DesktopStandIn::kwin("6.6.0", true);
    ASSERT_TRUE(kwin->ready());
    ASSERT_TRUE(filter_.load());
    ASSERT_TRUE(filter_.setEnabled(true));
    ASSERT_TRUE(filter_.setEnabled(false));
    EXPECT_EQ(kwinrc(), kKwinrc);
}

TEST_F(KWinColourFilterSwitchTest, ARemovedDataFolderNeverLeavesTheEffectGrey) {
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kKwinrc));
    const auto kwin = test::DesktopStandIn::kwin("6.6.0", true);
    ASSERT_TRUE(kwin->ready());
    ASSERT_TRUE(filter_.load());
    ASSERT_TRUE(filter_.setEnabled(true));
    std::filesystem::remove_all(home_.paths().dataFolder());
    ASSERT_TRUE(filter_.setEnabled(false));
    EXPECT_EQ(kwinrc(), kKwinrc);
}

// A monochrome correction of the user's own is theirs: only saved values make it ours. Applied
// again after a wake, only the mode and the loaded effect come back where they went; a strength
// the user chose while grey stays.
TEST_F(KWinColourFilterSwitchTest, WhatIsTheUsersStaysTheirs) {
    const std::string theirMonochrome =
        "[Effect-colorblindnesscorrection]\nMode=3\nIntensity=0.5\n";
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, theirMonochrome));
    const auto kwin = test::DesktopStandIn::kwin("6.6.0", true);
    ASSERT_TRUE(kwin->ready());
    ASSERT_TRUE(filter_.load());
    ASSERT_TRUE(filter_.setEnabled(false));
    ASSERT_TRUE(filter_.setEnabled(true));
    ASSERT_TRUE(filter_.setEnabled(false));
    EXPECT_EQ(kwinrc(), theirMonochrome);
    EXPECT_TRUE(kwin->skipTo("reconfigureEffect colorblindnesscorrection"));
    EXPECT_FALSE(
        kwin->skipTo("unloadEffect colorblindnesscorrection", std::chrono::milliseconds(100)));

    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kKwinrc));
    ASSERT_TRUE(filter_.setEnabled(true));
    ASSERT_TRUE(kwin->skipTo("reconfigureEffect colorblindnesscorrection"));
    ASSERT_TRUE(filter_.setEnabled(true));
    EXPECT_EQ(kwin->lineIfAny(), "") << "nothing was lost";
    const auto grey = kwinrc();
    const std::string ours = "Mode=3\nIntensity=1.0";
    auto changed = grey;
    changed.replace(changed.find(ours), ours.size(), "Mode=0\nIntensity=0.7");
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, changed));
    ASSERT_TRUE(filter_.setEnabled(true));
    EXPECT_NE(kwinrc().find("Mode=3\nIntensity=0.7"), std::string::npos) << kwinrc();
    ASSERT_TRUE(filter_.setEnabled(false));
    EXPECT_NE(kwinrc().find("Mode=1\nIntensity=0.7"), std::string::npos) << kwinrc();
}

// KDE's programs save kwinrc under their lock: an edit of ours waits for it, and takes over only
// one whose holder is gone.
TEST_F(KWinColourFilterSwitchTest, KwinrcIsEditedUnderKdesLock) {
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kKwinrc));
    const auto kwin = test::DesktopStandIn::kwin("6.6.0", true);
    ASSERT_TRUE(kwin->ready());
    holdKwinrcLock();
    KWinColourFilterSwitch filter(home_.paths(), nullptr, nullptr, std::chrono::milliseconds(0));
    ASSERT_TRUE(filter.load());
    const auto held = filter.setEnabled(true);
    EXPECT_FALSE(held);
    EXPECT_NE(held.description().text().find("verrouillé"), std::string::npos);
    EXPECT_EQ(kwinrc(), kKwinrc);

    char host[256] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    const auto gone = readWholeFile("/proc/sys/kernel/pid_max").value_or("4194304\n");
    ASSERT_TRUE(writeFileAtomically(lockFile_, gone + "kwin_wayland\n" + host + "\n", 0644));
    ASSERT_TRUE(filter.setEnabled(true));
    EXPECT_NE(kwinrc().find("Mode=3"), std::string::npos);
    EXPECT_FALSE(existsAtPath(lockFile_));
}

// kwinrc locked by another program at the switch off: the effect we loaded goes at once, over
// the bus, and the application gives the user's lines back once the lock goes, never before;
// unless it switched on again meanwhile, which keeps them saved for its next switch off.
TEST_F(KWinColourFilterSwitchTest, ALockedKwinrcTakesNoColourAndGetsTheUserLinesOnceFree) {
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kKwinrc));
    const auto kwin = test::DesktopStandIn::kwin("6.6.0");
    ASSERT_TRUE(kwin->ready());
    sim::ManualRunLoop loop;
    KWinColourFilterSwitch filter(home_.paths(), &loop, nullptr, std::chrono::milliseconds(0));
    sim::SimAccessibilityTrust trust{true};
    AccessibilityBridge bridge(filter, trust);
    const auto retry = KWinColourFilterSwitch::kLockRetrySeconds;
    for (const bool switchedOnMeanwhile : {false, true}) {
        SCOPED_TRACE(switchedOnMeanwhile ? "switched on meanwhile" : "left off");
        ASSERT_TRUE(bridge.setGrayscaleEnabled(true));
        ASSERT_TRUE(kwin->skipTo("loadEffect colorblindnesscorrection"));
        const auto grey = kwinrc();
        holdKwinrcLock();
        EXPECT_FALSE(bridge.setGrayscaleEnabled(false));
        EXPECT_EQ(kwin->nextLine(), "unloadEffect colorblindnesscorrection");
        loop.advanceSeconds(5 * retry);
        EXPECT_EQ(kwinrc(), grey);
        EXPECT_TRUE(existsAtPath(savedFile_));

        std::filesystem::remove(lockFile_);
        if (switchedOnMeanwhile) {
            ASSERT_TRUE(bridge.setGrayscaleEnabled(true));
            ASSERT_TRUE(kwin->skipTo("loadEffect colorblindnesscorrection"));
            loop.advanceSeconds(5 * retry);
            EXPECT_EQ(kwinrc(), grey);
            EXPECT_EQ(kwin->lineIfAny(), "");
            ASSERT_TRUE(bridge.setGrayscaleEnabled(false));
        } else {
            loop.advanceSeconds(retry);
        }
        EXPECT_EQ(kwinrc(), kKwinrc);
        EXPECT_FALSE(existsAtPath(savedFile_));
        EXPECT_FALSE(bridge.givesUserValuesBackLater());
    }
}

// KDE's settings switching the correction off while it is ours: kwinrc rewritten, then the
// effect unloaded.
TEST_F(KWinColourFilterSwitchTest, SwitchedOffFromKdeSettingsGivesTheUserLinesBack) {
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kKwinrc));
    const auto kwin = test::DesktopStandIn::kwin("6.6.0");
    ASSERT_TRUE(kwin->ready());
    sim::ManualRunLoop loop;
    InotifyFileWatcher files(loop);
    KWinColourFilterSwitch filter(home_.paths(), &loop, &files, std::chrono::milliseconds(0));
    bool switchedOff = false;
    const auto observation = filter.observeSwitchOffElsewhere([&] { switchedOff = true; });
    ASSERT_TRUE(filter.load());
    ASSERT_TRUE(filter.setEnabled(true));
    ASSERT_TRUE(kwin->skipTo("loadEffect colorblindnesscorrection"));

    const auto settingsWrite = kwinrc() + "\n[Plugins]\ncolorblindnesscorrectionEnabled=false\n";
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, settingsWrite));
    ASSERT_TRUE(unloadEffectAsTheUser());
    ASSERT_TRUE(kwin->skipTo("unloadEffect colorblindnesscorrection"));
    for (int turn = 0; turn < 100 && !switchedOff; ++turn) {
        loop.processIo(std::chrono::milliseconds(50));
        loop.advanceSeconds(KWinColourFilterSwitch::kSettleSeconds);
    }
    ASSERT_TRUE(switchedOff);
    EXPECT_EQ(kwinrc(), kKwinrc + "\n[Plugins]\ncolorblindnesscorrectionEnabled=false\n");
    EXPECT_FALSE(existsAtPath(savedFile_));
    EXPECT_TRUE(kwin->skipTo("kwinrc changed: Effect-colorblindnesscorrection: Mode,Intensity"));
    EXPECT_EQ(kwin->lineIfAny(), "") << "the effect stays as the user left it";

    // kwinrc locked by another program then: the lines stay saved for the next switch off.
    switchedOff = false;
    ASSERT_TRUE(filter.setEnabled(true));
    ASSERT_TRUE(kwin->skipTo("loadEffect colorblindnesscorrection"));
    holdKwinrcLock();
    ASSERT_TRUE(writeFileAtomically(kwinrcFile_, kwinrc() + "# saved again\n"));
    ASSERT_TRUE(unloadEffectAsTheUser());
    ASSERT_TRUE(kwin->skipTo("unloadEffect colorblindnesscorrection"));
    for (int turn = 0; turn < 100 && !switchedOff; ++turn) {
        loop.processIo(std::chrono::milliseconds(50));
        loop.advanceSeconds(KWinColourFilterSwitch::kSettleSeconds);
    }
    ASSERT_TRUE(switchedOff);
    std::filesystem::remove(lockFile_);
    ASSERT_TRUE(filter.setEnabled(false));
    EXPECT_EQ(kwinrc(),
              kKwinrc + "\n[Plugins]\ncolorblindnesscorrectionEnabled=false\n# saved again\n");
}

}  // namespace
}  // namespace olvane::platform::os
