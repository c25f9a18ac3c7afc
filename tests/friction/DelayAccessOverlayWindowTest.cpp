// The delay's waiting screen: its panels, its two phases and how it ends.
#include <gtest/gtest.h>

#include "friction/DelayAccessOverlayWindow.h"
#include "friction/DelayTime.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"

namespace olvane {
namespace {

using platform::Rect;
using platform::sim::ScopedLogCapture;

constexpr const char* kTarget = "org.example.Target";
constexpr pid_t kTargetPid = 10, kOtherPid = 20, kOwnPid = 30;

RedListConfig delayed(DelayDuration duration) {
    RedListConfig config;
    config.targetIdentifier = kTarget;
    config.targetDisplayName = "Cible";
    config.isDelayEnabled = true;
    config.delayDuration = duration;
    return config;
}

class DelayAccessOverlayWindowTest : public ::testing::Test {
  protected:
    DelayAccessOverlayWindowTest() {
        workspace.launch({kTarget, "Cible", kTargetPid, 0.0});
        workspace.launch({"org.example.Other", "Autre", kOtherPid, 0.0});
        workspace.launch({"so.olvane.mac", "Olvane", kOwnPid, 0.0});
        windowServer.setScreens({{"A", Rect{0, 0, 1440, 900}}, {"B", Rect{1440, 0, 1920, 1080}}});
        overlay.onDelayComplete = [this](const std::string& id) { outcomes.push_back(id); };
        overlay.onCancel = [this] { outcomes.push_back("cancel"); };
    }

    DelayPanelState& panel(std::size_t index = 0) { return *panels.open().at(index).content; }
    void showInFront(DelayDuration duration = DelayDuration::preset10s()) {
        overlay.show(delayed(duration), kTarget, std::nullopt);
        workspace.activate(kTargetPid);
        loop.advanceSeconds(DelayAccessOverlayWindow::kForegroundInterval);
        ASSERT_TRUE(overlay.hasReachedForeground());
    }

    platform::sim::ManualRunLoop loop;
    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windowServer;
    platform::sim::SimOverlayWindows<DelayPanelState> panels;
    DelayAccessOverlayWindow overlay{{loop, workspace, windowServer, panels, "so.olvane.mac"}};
    std::vector<std::string> outcomes;
};

TEST(DelayTime, TheTimeLeftIsWrittenInMinutesOrInSeconds) {
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {3600, "60:00"},     {60, "01:00"},     {61, "01:01"},    {86400, "1440:00"},
        {59, "59 secondes"}, {2, "2 secondes"}, {1, "1 seconde"}, {0, "0 seconde"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(delayTimeText(seconds), text) << seconds;
    }
    EXPECT_EQ(delayLengthSeconds(DelayDuration::custom(0)), 1);
    EXPECT_EQ(delayLengthSeconds(DelayDuration::custom(-5)), 1);
    EXPECT_EQ(delayLengthSeconds(DelayDuration::custom(1'000'000)), 86400);
    EXPECT_EQ(delayLengthSeconds(DelayDuration::preset1h()), 3600);
}

TEST_F(DelayAccessOverlayWindowTest, EachScreenGetsAPanelThatCountsDownToContinue) {
    ScopedLogCapture capture;
    showInFront();
    EXPECT_TRUE(capture->contains("👆 Overlay délai affiché pour Cible (10s) sur 2 écran(s)"));
    ASSERT_EQ(panels.open().size(), 2u);
    EXPECT_EQ(panels.open()[1].record->frame, (Rect{1440, 0, 1920, 1080}));
    EXPECT_TRUE(panels.open()[1].record->isVisible);
    EXPECT_EQ(panel(1).targetName, "Cible");
    EXPECT_EQ(panel(1).remainingSeconds(), 10);

    loop.advanceSeconds(9.5);
    EXPECT_EQ(panel(0).remainingSeconds(), 0);
    EXPECT_TRUE(panel(1).offersContinue());
    loop.advanceSeconds(30);
    EXPECT_EQ(panel(1).remainingSeconds(), 0) << "never below 0, and still shown";

    panel(1).pressContinue();
    EXPECT_EQ(outcomes, std::vector<std::string>{kTarget});
    EXPECT_TRUE(capture->contains("👆 Délai terminé, accès autorisé: org.example.Target"));
    EXPECT_TRUE(panels.open().empty());
    EXPECT_FALSE(overlay.isShowing());
}

TEST_F(DelayAccessOverlayWindowTest, AStoredLengthOfZeroStillCountsOneSecondThenOffersContinue) {
    overlay.show(delayed(DelayDuration::custom(0)), kTarget, std::nullopt);
    EXPECT_EQ(panel().remainingSeconds(), 1);
    loop.advanceSeconds(1);
    EXPECT_TRUE(panel().offersContinue());
}

TEST_F(DelayAccessOverlayWindowTest, EveryWayTheOverlayEndsByItselfIsReportedAsACancellation) {
    ScopedLogCapture capture;
    // Phase 1: the target never comes to the front.
    overlay.show(delayed(DelayDuration::preset1h()), kTarget, std::nullopt);
    loop.advanceSeconds(14.5);
    EXPECT_TRUE(outcomes.empty());
    loop.advanceSeconds(0.5);
    EXPECT_TRUE(capture->contains("Délai: cible jamais au premier plan après 15s - annulation"));
    EXPECT_EQ(outcomes, std::vector<std::string>{"cancel"});
    EXPECT_TRUE(panels.open().empty());

    // Phase 2: this application and no application in front leave it; another one cancels.
    outcomes.clear();
    showInFront();
    EXPECT_TRUE(capture->contains("App cible atteint le premier plan - surveillance activée"));
    workspace.activate(kOwnPid);
    workspace.setFrontmost(std::nullopt);
    loop.advanceSeconds(20);
    EXPECT_TRUE(outcomes.empty());
    workspace.activate(kOtherPid);
    loop.advanceSeconds(0.5);
    EXPECT_TRUE(capture->contains("App cible n'est plus au premier plan - annulation du délai"));
    EXPECT_EQ(outcomes, std::vector<std::string>{"cancel"});

    // "Fermer l'application": the target is asked to quit; gone already, it is cancelled all
    // the same.
    outcomes.clear();
    showInFront();
    panel().pressClose();
    EXPECT_EQ(workspace.terminationRequests(), std::vector<pid_t>{kTargetPid});
    EXPECT_TRUE(capture->contains("👆 Fermeture de l'application demandée: org.example.Target"));
    showInFront();
    workspace.terminate(kTargetPid);
    panel().pressClose();
    EXPECT_EQ(workspace.terminationRequests().size(), 1u);
    EXPECT_EQ(outcomes, (std::vector<std::string>{"cancel", "cancel"}));
    EXPECT_TRUE(panels.open().empty());
}

TEST_F(DelayAccessOverlayWindowTest, TheOwnerClosesAndReplacesSilently) {
    showInFront();
    overlay.show(delayed(DelayDuration::preset30s()), kTarget, std::nullopt);
    EXPECT_EQ(panels.open().size(), 2u);
    EXPECT_EQ(panel().remainingSeconds(), 30);
    EXPECT_FALSE(overlay.hasReachedForeground());
    overlay.close();
    loop.advanceSeconds(60);
    EXPECT_TRUE(outcomes.empty());
    EXPECT_TRUE(panels.open().empty());
}

}  // namespace
}  // namespace olvane
