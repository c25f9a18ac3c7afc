// The delay's waiting panel as drawn offscreen.
#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
#include "ui/effects/DelayAccessOverlayView.h"
#include "ui/effects/DelayButton.h"
#include "ui/foundation/Animations.h"

namespace olvane::ui {
namespace {

class DelayAccessOverlayViewTest : public ::testing::Test {
  protected:
    DelayAccessOverlayViewTest() { Animations::setJumpToEnd(true); }
    ~DelayAccessOverlayViewTest() override { Animations::setJumpToEnd(false); }

    std::vector<std::string> pressed;
    DelayPanelState state{"Calculatrice", 75, 0.0, [this] { pressed.push_back("fermer"); },
                          [this] { pressed.push_back("continuer"); }};
};

TEST_F(DelayAccessOverlayViewTest, CountsDownToContinueAndHandsTheButtonsOver) {
    DelayAccessOverlayView view(state);
    view.resize(1440, 900);
    view.show();
    EXPECT_EQ(view.timeText(), "01:15");
    EXPECT_EQ(view.subtitle(), "avant l'accès à Calculatrice");
    EXPECT_FALSE(view.continueButton()->isVisible());
    EXPECT_EQ(view.closeButton()->text(), "Fermer l'application");
    // The column starts a fifth of the way down, below the top margin, and stays centred.
    EXPECT_GT(view.closeButton()->y(), 32 + 900 / 5);
    EXPECT_NEAR(view.closeButton()->geometry().center().x(), 720, 1);
    ASSERT_TRUE(test::saveArtefact(view, "delay-panel-counting"));

    state.remainingSeconds.set(2);
    EXPECT_EQ(view.timeText(), "2 secondes");
    state.remainingSeconds.set(0);
    EXPECT_EQ(view.timeText(), "0 seconde");
    ASSERT_TRUE(view.continueButton()->isVisible());
    EXPECT_EQ(view.continueButton()->appearance(), 1.0);
    EXPECT_GT(view.continueButton()->y(), view.closeButton()->geometry().bottom() + 16);
    ASSERT_TRUE(test::saveArtefact(view, "delay-panel-continue"));

    test::clickAt(view.continueButton(), QPoint(10, 10));
    EXPECT_TRUE(pressed.empty()) << "run once the click has been handled";
    ASSERT_TRUE(test::processEventsUntil([&] { return !pressed.empty(); }));
    test::clickAt(view.closeButton(), QPoint(10, 10));
    ASSERT_TRUE(test::processEventsUntil([&] { return pressed.size() == 2; }));
    EXPECT_EQ(pressed, (std::vector<std::string>{"continuer", "fermer"}));
}

}  // namespace
}  // namespace olvane::ui
