#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/MainCardToggle.h"
#include "ui/foundation/OlvaneToggleStyle.h"
#include "ui/foundation/Spring.h"
#include "ui/foundation/SwitchDrawing.h"
#include "ui/foundation/ToggleSwitchView.h"

namespace olvane::ui {
namespace {

TEST(Spring, StartsAtRestOvershootsALittleAndSettlesOnOne) {
    EXPECT_EQ(Spring::position(0), 0);
    double peak = 0;
    for (double t = 0; t < Spring::settlingSeconds(); t += 0.005) {
        peak = std::max(peak, Spring::position(t));
    }
    EXPECT_GT(peak, 1.01);
    EXPECT_LT(peak, 1.1);
    EXPECT_NEAR(Spring::position(Spring::settlingSeconds()), 1, Spring::kRestTolerance);
    EXPECT_GT(Spring::settlingSeconds(), 0.3);
    EXPECT_LT(Spring::settlingSeconds(), 1.0);
    EXPECT_EQ(Spring::easing(1), 1);  // exactly where the thumb must stop
}

TEST(ToggleGeometry, ThumbPositionsAtScalesOneAndOneAndAHalf) {
    const struct {
        double scale;
        double off;
        double on;
    } cases[] = {{1.0, 3, 19}, {1.5, 4.5, 28.5}};
    for (const auto& c : cases) {
        const auto geometry = ToggleGeometry::scaled(c.scale);
        EXPECT_DOUBLE_EQ(geometry.thumbX(false), c.off) << c.scale;
        EXPECT_DOUBLE_EQ(geometry.thumbX(true), c.on) << c.scale;
        EXPECT_DOUBLE_EQ(geometry.thumbX(true) + geometry.thumbSize + geometry.thumbInset,
                         geometry.trackWidth);
    }
}

// The switch drawn over middle grey, so that white and black both show; (x, y) from the
// track's top-left corner.
QColor pixelAt(QWidget& widget, double x, double y) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image.pixelColor(static_cast<int>(x) + SwitchDrawing::kMargin,
                            static_cast<int>(y) + SwitchDrawing::kMargin);
}

TEST(ToggleSwitchView, ColoursOfEachSchemeAndState) {
    const struct {
        bool inverted;
        bool on;
        QColor track;
        QColor thumb;
    } cases[] = {{false, true, Qt::black, Qt::white},
                 {false, false, Qt::white, Qt::black},
                 {true, true, Qt::white, Qt::black},
                 {true, false, Qt::black, Qt::white}};
    const ToggleGeometry geometry;
    for (const auto& c : cases) {
        ToggleSwitchView view(c.on, false, c.inverted, geometry);
        const double thumbCentre = geometry.thumbX(c.on) + geometry.thumbSize / 2;
        const double emptySide = c.on ? 6 : geometry.trackWidth - 6;
        EXPECT_EQ(pixelAt(view, thumbCentre, 11), c.thumb) << c.inverted << c.on;
        EXPECT_EQ(pixelAt(view, emptySide, 11), c.track) << c.inverted << c.on;
        EXPECT_EQ(ToggleSwitchView::colors(c.inverted, c.on).outline,
                  c.inverted ? Qt::white : Qt::black);
    }
}

TEST(ToggleSwitchView, DisabledItIsHalfOpaqueAndIgnoresClicks) {
    ToggleSwitchView view(true, true, false, ToggleGeometry());
    view.show();
    test::clickAt(&view, view.rect().center());
    EXPECT_TRUE(view.isOn());
    EXPECT_NEAR(pixelAt(view, 6, 11).red(), 64, 2);  // black track at half opacity
    test::hover(&view, true);
    EXPECT_GT(view.hoverScale().targetScale(), 1.0);

    view.setSwitchDisabled(false);
    int toggles = 0;
    QObject::connect(&view, &ToggleSwitchView::toggledByUser, [&](bool) { ++toggles; });
    Animations::setJumpToEnd(true);
    test::clickAt(&view, view.rect().center());
    Animations::setJumpToEnd(false);
    EXPECT_FALSE(view.isOn());
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(view.thumbX(), 3);
    view.setOn(true);  // from elsewhere: no slide
    EXPECT_EQ(view.thumbX(), 19);
}

TEST(OlvaneToggleStyle, AClickSlidesTheThumbWithTheSpring) {
    OlvaneToggleStyle toggle;
    toggle.show();
    EXPECT_EQ(toggle.thumbX(), 3);
    test::clickAt(&toggle, toggle.rect().center());
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_LT(toggle.thumbX(), 19);  // on its way
    EXPECT_TRUE(test::processEventsUntil([&] { return toggle.thumbX() == 19; }));

    Animations::setJumpToEnd(true);
    toggle.setChecked(false);  // from elsewhere: slides too, here straight to its end
    Animations::setJumpToEnd(false);
    EXPECT_EQ(toggle.thumbX(), 3);
}

TEST(MainCardToggle, AtScaleOneAndAHalfItsOutlineShowsTheState) {
    Animations::setJumpToEnd(true);
    MainCardToggle toggle(true, 1.5);
    EXPECT_EQ(toggle.thumbX(), 28.5);
    // The outline, 1.5 wide across the track's top edge.
    EXPECT_GT(pixelAt(toggle, 28, 0).red(), 180);
    EXPECT_EQ(pixelAt(toggle, 28, 4), Qt::white);  // the track
    toggle.setActive(false);
    EXPECT_EQ(toggle.thumbX(), 4.5);
    EXPECT_LT(pixelAt(toggle, 28, 0).red(), 70);
    EXPECT_EQ(pixelAt(toggle, 28, 4), Qt::white);
    EXPECT_EQ(pixelAt(toggle, 4.5 + 12, 16.5), Qt::black);  // the thumb
    EXPECT_TRUE(toggle.testAttribute(Qt::WA_TransparentForMouseEvents));
    Animations::setJumpToEnd(false);
}

}  // namespace
}  // namespace olvane::ui
