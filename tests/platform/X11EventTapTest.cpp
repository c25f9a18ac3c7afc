// The turtle over X11 on Xvfb: pointer moves made through XTest end where the factor says, and
// Super+Shift+Escape switches the turtle off.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <xcb/xtest.h>

#include "friction/TurtleEffectService.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/X11EventTap.h"
#include "platform/linux/X11KeyEventSource.h"
#include "support/TurtleOverTap.h"
#include "support/X11TestWindows.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

// Waits until the server has handled everything sent so far.
void sync(X11Connection& x) {
    free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
}

class X11EventTapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.ready());
        input_ = X11EventTap::create(loop_);
        hand_ = X11Pointer::create(loop_);
        ASSERT_TRUE(input_ && hand_);
        turtle_ = std::make_unique<test::TurtleOverTap>(loop_, *input_);
        hand_->warpTo({400, 300});
        sync(hand_->connection());
    }

    // A move of the physical pointer by (dx, dy), then the turtle's answer to it.
    void move(double dx, double dy) {
        const Point before = pointer();
        const Point moved{before.x + dx, before.y + dy};
        test::movePointer(hand_->connection(), moved);
        sync(hand_->connection());
        if (turtle_->service.isActive()) {
            // The turtle always answers: with a pull-back or a slowed step.
            ASSERT_TRUE(loop_.runUntil([&] { return pointer() != moved; }, 10s));
        }
    }

    Point pointer() { return hand_->state().value_or(X11Pointer::State{}).position; }

    test::XServer server_{{.windowManager = true}};
    EpollRunLoop loop_;
    std::unique_ptr<X11EventTap> input_;
    // The user's hand on the pointer.
    std::unique_ptr<X11Pointer> hand_;
    std::unique_ptr<test::TurtleOverTap> turtle_;
};

TEST_F(X11EventTapTest, MovesEndWhereTheFactorSays) {
    struct Case {
        TurtleIntensity intensity;
        std::vector<Point> moves;
        Point shift;
    };
    const Case cases[] = {
        // Factor 4: 0.75 is held back, 1.5 makes one pixel.
        {TurtleIntensity::light, {{3, 0}, {3, 0}}, {1, 0}},
        {TurtleIntensity::medium, {{80, -40}}, {10, -5}},
        // Factor 25: −1.2 then −2.4 in all, truncated toward zero each time.
        {TurtleIntensity::extreme, {{-30, 0}, {-30, 0}}, {-2, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.intensity));
        const Point start = pointer();
        ASSERT_TRUE(turtle_->service.activate(c.intensity));
        for (const auto& d : c.moves) {
            move(d.x, d.y);
        }
        const Point end = pointer();
        EXPECT_EQ(end.x, start.x + c.shift.x);
        EXPECT_EQ(end.y, start.y + c.shift.y);
        turtle_->service.deactivate();
    }

    // Off, the pointer is the user's again.
    const Point start = pointer();
    move(30, 0);
    EXPECT_EQ(pointer().x, start.x + 30);
}

TEST_F(X11EventTapTest, SuperShiftEscapeSwitchesTheTurtleOff) {
    auto keys = X11KeyEventSource::create(loop_);
    ASSERT_TRUE(keys);
    TurtleEffectService turtle(
        {loop_, *input_, *keys, turtle_->trust, {}, ActiveEffects(turtle_->effects)});
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium));
    for (const unsigned key : {KEY_LEFTMETA, KEY_LEFTSHIFT, KEY_ESC}) {
        xcb_test_fake_input(hand_->connection().get(), XCB_KEY_PRESS,
                            static_cast<std::uint8_t>(key + 8), XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
    }
    for (const unsigned key : {KEY_ESC, KEY_LEFTSHIFT, KEY_LEFTMETA}) {
        xcb_test_fake_input(hand_->connection().get(), XCB_KEY_RELEASE,
                            static_cast<std::uint8_t>(key + 8), XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
    }
    hand_->connection().flush();
    EXPECT_TRUE(loop_.runUntil([&] { return !turtle.isActive(); }, 10s));
}

}  // namespace
}  // namespace olvane::platform::os
