#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QEvent>
#include <QWidget>
#include <cmath>

#include "ui/UiTestSupport.h"
#include "ui/foundation/HoverScale.h"
#include "ui/foundation/HoverScaleEffect.h"

namespace olvane::ui {
namespace {

TEST(HoverScale, GrowsByOneAndAHalfPointsOfTheMeanSide) {
    HoverScale scale;
    EXPECT_EQ(scale.factor(), 1.0);
    scale.setHovered(true);
    // Before any measurement the element counts as 100 × 40.
    EXPECT_NEAR(scale.factor(), (std::sqrt(4000.0) + 1.5) / std::sqrt(4000.0), 1e-12);
    EXPECT_NEAR(scale.factor(), 1.0237, 1e-4);

    ASSERT_TRUE(scale.measure({20, 20}));
    EXPECT_NEAR(scale.factor(), 1.075, 1e-12);

    ASSERT_TRUE(scale.measure({0, 30}));
    EXPECT_EQ(scale.factor(), 1.0);
}

TEST(HoverScale, IgnoresSizeChangesOfOnePointOrLess) {
    HoverScale scale;
    EXPECT_TRUE(scale.measure({100, 40}));  // the first measurement always counts
    EXPECT_FALSE(scale.measure({101, 41}));
    EXPECT_EQ(scale.size().width, 100);
    EXPECT_TRUE(scale.measure({101.01, 40}));
    EXPECT_EQ(scale.size().width, 101.01);
    EXPECT_TRUE(scale.measure({101.01, 38.5}));
}

TEST(HoverScaleEffect, FollowsThePointerAndStartsAfreshWhenSwitchedBackOn) {
    QWidget widget;
    widget.resize(20, 20);
    widget.show();
    HoverScaleEffect effect(&widget);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&widget, &enter);
    EXPECT_NEAR(effect.targetScale(), 1.075, 1e-9);
    ASSERT_TRUE(test::processEventsUntil([&] { return effect.currentScale() > 1.07; }));

    effect.setActive(false);
    EXPECT_EQ(effect.currentScale(), 1.0);
    QCoreApplication::sendEvent(&widget, &enter);
    EXPECT_EQ(effect.targetScale(), 1.0);

    effect.setActive(true);
    EXPECT_FALSE(effect.isHovered());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &enter);
    QCoreApplication::sendEvent(&widget, &leave);
    EXPECT_EQ(effect.targetScale(), 1.0);
}

}  // namespace
}  // namespace olvane::ui
