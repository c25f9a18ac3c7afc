// The fog's window shape where windows in front of its target must show through it.
#include <gtest/gtest.h>

#include "ui/effects/FogOverlayView.h"

namespace olvane::ui {
namespace {

TEST(FogOverlayView, LeavesOutWhatWindowsInFrontCoverWithItsHolesOrWithoutThem) {
    FogEffectState state(50, 0.98, 100, 7);
    for (const bool translucent : {true, false}) {
        FogOverlayView view(state, translucent);
        view.resize(400, 300);
        view.show();
        EXPECT_TRUE(view.mask().isEmpty() == translucent);

        view.leaveOut(QRegion(0, 0, 100, 300));
        EXPECT_FALSE(view.mask().contains(QPoint(50, 150)));
        EXPECT_TRUE(view.mask().contains(QPoint(300, 150)));
        // Resized, the fog covers its new size but what is covered still.
        view.resize(600, 300);
        EXPECT_TRUE(view.mask().contains(QPoint(550, 150)));
        EXPECT_FALSE(view.mask().contains(QPoint(50, 150)));

        // All of it covered is no shape at all, which X11 would read as the whole window.
        view.leaveOut(QRegion(0, 0, 600, 300));
        EXPECT_FALSE(view.mask().isEmpty());
        EXPECT_FALSE(view.mask().intersects(QRect(0, 0, 600, 300)));

        view.leaveOut({});
        EXPECT_TRUE(view.mask().isEmpty() == translucent);
        EXPECT_EQ(view.mask().contains(QPoint(300, 150)), !translucent);
    }
}

}  // namespace
}  // namespace olvane::ui
