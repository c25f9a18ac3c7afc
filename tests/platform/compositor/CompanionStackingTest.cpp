// What a report says of a fog against its target: where it draws over windows in front of the
// target, and when only raising it puts it back above the target.
#include <gtest/gtest.h>

#include "platform/linux/compositor/CompanionStacking.h"

namespace olvane::platform::os {
namespace {

CompositorWindow window(const std::string& id, Rect client, bool shown = true,
                        const std::string& type = "NORMAL", bool keptAbove = false) {
    CompositorWindow w;
    w.id = id;
    w.client = client;
    w.frame = client;
    w.shown = shown;
    w.type = type;
    w.keptAbove = keptAbove;
    return w;
}

// With the title bar the compositor draws above the client area.
CompositorWindow titled(CompositorWindow w) {
    w.frame = {w.client.x, w.client.y - 30, w.client.width, w.client.height + 30};
    return w;
}

const Rect kTarget{100, 100, 400, 300};

TEST(FogStanding, AFogInFrontDrawsOverTheWindowsBetweenItAndItsTarget) {
    CompanionReport report;
    report.windows = {
        window("over", {0, 0, 200, 200}),  // in front of the fog: over it anyway
        window("fog", kTarget),
        titled(window("overlapping", {400, 300, 300, 300})),
        window("minimised", {100, 100, 50, 50}, false),
        window("apart", {600, 100, 100, 100}),
        window("dock", {0, 380, 1280, 40}, true, "DOCK"),
        window("target", kTarget),
    };
    const auto standing = fogStanding(report, "fog", "target");
    ASSERT_TRUE(standing);
    EXPECT_FALSE(standing->mustRise);
    EXPECT_EQ(standing->covered, (std::vector<Rect>{{400, 270, 100, 130}, {100, 380, 400, 20}}));

    // Right above its target, it draws everywhere.
    report.windows.erase(report.windows.begin() + 1);
    report.windows.insert(report.windows.end() - 1, window("fog", kTarget));
    EXPECT_EQ(fogStanding(report, "fog", "target"), FogStanding{});

    EXPECT_FALSE(fogStanding(report, "fog", "gone"));
    EXPECT_FALSE(fogStanding(report, "gone", "target"));
    EXPECT_FALSE(fogStanding(report, "fog", "fog"));
}

TEST(FogStanding, AFogBehindItsTargetMustRiseOnlyWhenTheTargetIsInFrontOfItsLayer) {
    CompanionReport report;
    report.windows = {
        window("panel", {0, 0, 1280, 40}, true, "DOCK"),
        window("kept above", {0, 0, 100, 100}, true, "NORMAL", true),
        window("minimised", {100, 100, 50, 50}, false),
        window("target", kTarget),
        window("other", {0, 0, 10, 10}),
        window("fog", kTarget),
    };
    EXPECT_EQ(fogStanding(report, "fog", "target"), (FogStanding{.mustRise = true, .covered = {}}));

    // Under another window, raising the fog would put it over that window too.
    report.windows[2].shown = true;
    EXPECT_EQ(fogStanding(report, "fog", "target"), FogStanding{});
    report.windows[2].shown = false;
    report.windows[3].shown = false;
    EXPECT_EQ(fogStanding(report, "fog", "target"), FogStanding{});
}

}  // namespace
}  // namespace olvane::platform::os
