#include <gtest/gtest.h>

#include <memory>

#include "ui/shell/AfterFirstFrame.h"

namespace olvane::ui {
namespace {

// A quit before the first frame: the work, and what it holds, go with the window.
TEST(AfterFirstFrame, WorkForAWindowGoneBeforeItsFirstFrameGoesWithIt) {
    auto held = std::make_shared<bool>(false);
    const std::weak_ptr<bool> watched = held;
    {
        QWidget window;
        afterFirstFrame(
            window, [held = std::move(held)] { *held = true; }, 60000);
    }
    EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace olvane::ui
