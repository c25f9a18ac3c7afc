#include <gtest/gtest.h>

#include <QPointer>

#include "platform/sim/ManualRunLoop.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/DebugLabels.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/PageFrames.h"
#include "ui/foundation/SpacingDebugManager.h"

namespace olvane::ui {
namespace {

class SpacingDebugTest : public ::testing::Test {
  protected:
    ~SpacingDebugTest() override {
        // The mode is one for the whole process: leave it off for the next test.
        if (SpacingDebugManager::overlaysVisible()) {
            manager.toggleOverlays();
        }
    }

    // Taps at the given intervals (seconds after the previous tap); returns how many of them
    // switched the mode.
    int tap(std::initializer_list<double> intervals) {
        int switches = 0;
        for (const double interval : intervals) {
            loop.advanceSeconds(interval);
            const int before = manager.rebuildToken.get();
            manager.handleVersionTap();
            switches += manager.rebuildToken.get() - before;
        }
        return switches;
    }

    platform::sim::ManualRunLoop loop;
    SpacingDebugManager manager{loop.clock()};
};

TEST_F(SpacingDebugTest, SevenQuickTapsSwitchTheModeAndAPauseStartsAgain) {
    EXPECT_FALSE(SpacingDebugManager::overlaysVisible());
    EXPECT_EQ(tap({0, 1, 1, 1, 1, 1}), 0);
    EXPECT_EQ(manager.versionTapCount(), 6);
    EXPECT_EQ(tap({1.999}), 1);
    EXPECT_TRUE(SpacingDebugManager::overlaysVisible());
    EXPECT_EQ(manager.versionTapCount(), 0);

    // Exactly two seconds is a pause: that tap is the first of a new series.
    EXPECT_EQ(tap({0.5, 0.5, 0.5, 2.0}), 0);
    EXPECT_EQ(manager.versionTapCount(), 1);
    EXPECT_EQ(tap({0.1, 0.1, 0.1, 0.1, 0.1}), 0);
    EXPECT_EQ(tap({0.1}), 1);
    EXPECT_FALSE(SpacingDebugManager::overlaysVisible());
    EXPECT_EQ(manager.rebuildToken.get(), 2);
}

TEST(DebugLabels, TextsAndThresholds) {
    EXPECT_EQ(DebugLabels::spacing(QStringLiteral("pageMarginTop"), 32), "pageMarginTop = 32px");
    EXPECT_FALSE(DebugLabels::showsSpacingLabel(15.9, false));
    EXPECT_TRUE(DebugLabels::showsSpacingLabel(16, false));
    EXPECT_FALSE(DebugLabels::showsSpacingLabel(23, true));
    EXPECT_TRUE(DebugLabels::showsSpacingLabel(24, true));
    EXPECT_EQ(DebugLabels::dimension(QStringLiteral("Title"), 320.9, 38.2), "Title: 320×38");
    EXPECT_EQ(DebugLabels::padding(QChar(0x2190), 12.7), "←12");
    EXPECT_FALSE(DebugLabels::drawsPaddingBand(0));
    EXPECT_TRUE(DebugLabels::showsPaddingText(12, 300));
    EXPECT_FALSE(DebugLabels::showsPaddingText(300, 11.9));

    const std::pair<double, const char*> wholeNumbers[] = {
        {15.9, "15"}, {-0.5, "0"}, {-3.7, "-3"}, {1e20, "100000000000000000000"}};
    for (const auto& [value, text] : wholeNumbers) {
        EXPECT_EQ(DebugLabels::wholeNumber(value), QString::fromLatin1(text)) << value;
    }
}

TEST_F(SpacingDebugTest, TheSwitchRebuildsThePage) {
    AppState appState;
    PageFrames pages;
    MainWindowView view(appState, pages, manager);
    view.resize(1100, 700);
    view.show();
    appState.selectedNavigationItem.set(NavigationItem::settings);

    QPointer<QWidget> before = view.currentPage();
    manager.toggleOverlays();
    EXPECT_NE(view.currentPage(), before.data());
    EXPECT_TRUE(test::processEventsUntil([&] { return before.isNull(); }));
    EXPECT_EQ(view.currentPage()->objectName(), "settings");

    // The frame's spacings are named.
    QStringList labels;
    for (const auto* spacing : view.currentPage()->findChildren<DebugSpacingIndicator*>()) {
        labels << spacing->label();
    }
    EXPECT_TRUE(labels.contains("pageMarginTop = 32px"));
    EXPECT_TRUE(labels.contains("pageHeaderGap = 64px"));
    EXPECT_TRUE(labels.contains("pageMarginLeft = 48px"));
    EXPECT_TRUE(labels.contains(QString()));  // the 6-point gap of the header: too small
    EXPECT_TRUE(test::saveArtefact(view, "spacing-debug-reglages"));
}

}  // namespace
}  // namespace olvane::ui
