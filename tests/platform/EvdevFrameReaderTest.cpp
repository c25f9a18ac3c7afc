// A pointer device's events gathered into frames.
#include <gtest/gtest.h>

#include "platform/linux/EvdevFrameReader.h"

namespace olvane::platform::os {
namespace {

input_event event(std::uint16_t type, std::uint16_t code, std::int32_t value) {
    input_event e{};
    e.type = type;
    e.code = code;
    e.value = value;
    return e;
}

const input_event kReport = event(EV_SYN, SYN_REPORT, 0);

TEST(EvdevFrameReader, GathersMovementWheelsAndButtonsUntilEachReport) {
    struct Case {
        const char* name;
        bool highResolution;
        std::vector<input_event> events;
        std::int32_t dx, dy, wheel, horizontalWheel;
        std::vector<PointerFrame::Button> buttons;
    };
    const Case cases[] = {
        {"movement adds up",
         false,
         {event(EV_REL, REL_X, 3), event(EV_REL, REL_Y, -2), event(EV_REL, REL_X, 1)},
         4,
         -2,
         0,
         0,
         {}},
        // Such a device sends each notch twice: only the fine units count.
        {"fine wheels",
         true,
         {event(EV_REL, REL_WHEEL, 1), event(EV_REL, REL_WHEEL_HI_RES, 120),
          event(EV_REL, REL_HWHEEL_HI_RES, -30)},
         0,
         0,
         120,
         -30,
         {}},
        {"notches become fine units",
         false,
         {event(EV_REL, REL_WHEEL, -1), event(EV_REL, REL_HWHEEL, 2)},
         0,
         0,
         -120,
         240,
         {}},
        // Auto-repeat and keys beyond the mouse's buttons are not the buttons'.
        {"buttons",
         false,
         {event(EV_KEY, BTN_LEFT, 1), event(EV_KEY, BTN_LEFT, 2), event(EV_KEY, KEY_A, 1),
          event(EV_KEY, BTN_SIDE, 0), event(EV_MSC, MSC_SCAN, 9)},
         0,
         0,
         0,
         0,
         {{BTN_LEFT, 1}, {BTN_SIDE, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EvdevFrameReader reader(c.highResolution);
        for (const auto& e : c.events) {
            EXPECT_FALSE(reader.add(e));
        }
        ASSERT_TRUE(reader.add(kReport));
        const auto& frame = reader.frame();
        EXPECT_EQ(frame.dx, c.dx);
        EXPECT_EQ(frame.dy, c.dy);
        EXPECT_EQ(frame.wheel, c.wheel);
        EXPECT_EQ(frame.horizontalWheel, c.horizontalWheel);
        EXPECT_EQ(frame.buttons, c.buttons);
        // The next frame starts empty.
        ASSERT_TRUE(reader.add(kReport));
        EXPECT_FALSE(reader.frame().moves() || reader.frame().scrolls());
        EXPECT_TRUE(reader.frame().buttons.empty());
    }
}

TEST(EvdevFrameReader, AfterLostEventsDropsEverythingUpToTheNextReport) {
    EvdevFrameReader reader(false);
    EXPECT_FALSE(reader.add(event(EV_REL, REL_X, 5)));
    EXPECT_FALSE(reader.add(event(EV_SYN, SYN_DROPPED, 0)));
    EXPECT_FALSE(reader.add(event(EV_REL, REL_X, 7)));
    EXPECT_FALSE(reader.add(kReport));
    EXPECT_FALSE(reader.add(event(EV_REL, REL_Y, 2)));
    ASSERT_TRUE(reader.add(kReport));
    EXPECT_EQ(reader.frame().dx, 0);
    EXPECT_EQ(reader.frame().dy, 2);
}

}  // namespace
}  // namespace olvane::platform::os
