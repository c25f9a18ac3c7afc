// A fog kept right above a native Wayland window through the KWin companion, on a real headless
// KWin: an X11 window of the test's own stands in for the fog. KWin 6 restacks it itself; KWin 5
// cannot, and the test raises it through X11 when told, as OlvaneMac does.
#include <gtest/gtest.h>

#include <algorithm>

#include "CompanionDesktopTest.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/compositor/CompanionStacking.h"
#include "support/X11TestWindows.h"

namespace olvane::platform::os {
namespace {

Rect overlap(const Rect& a, const Rect& b) {
    const double x = std::max(a.x, b.x);
    const double y = std::max(a.y, b.y);
    return {x, y, std::min(a.maxX(), b.maxX()) - x, std::min(a.maxY(), b.maxY()) - y};
}

class KWinFogStackingTest : public CompanionDesktopTest {
  protected:
    KWinFogStackingTest() : CompanionDesktopTest(test::WaylandDesktop::Kind::kwin) {}

    void SetUp() override {
        CompanionDesktopTest::SetUp();
        if (stopped()) {
            return;
        }
        stacking_ = std::make_unique<CompanionStacking>(*link_, *windows_);
        script_ = loadKWinScript();
        ASSERT_TRUE(until([this] { return windows_->live(); }));
        x_ = X11Connection::open();
        ASSERT_TRUE(x_);
    }

    const CompositorWindow* windowOf(pid_t pid) const {
        for (const auto& window : windows_->report().windows) {
            if (window.pid == pid) {
                return &window;
            }
        }
        return nullptr;
    }

    std::string idOf(std::uint32_t number) const {
        const auto* window = windows_->withNumber(number);
        return window ? window->id : "";
    }

    // `ids` front to back as reported, then as KWin stacks them: nothing else between.
    std::vector<std::string> order(const std::vector<std::string>& ids, bool askKWin = false) {
        std::vector<std::string> all;
        if (askKWin) {
            all = desktop_
                      .kwinScript(
                          "const order = workspace.stackingOrder || "
                          "workspace.clientList().slice().sort("
                          "(a, b) => a.stackingOrder - b.stackingOrder);"
                          "order.slice().reverse().forEach(w => print(w.internalId));")
                      .value_or(std::vector<std::string>{});
        } else {
            for (const auto& window : windows_->report().windows) {
                all.push_back(window.id);
            }
        }
        std::erase_if(all, [&](const auto& id) { return std::ranges::find(ids, id) == ids.end(); });
        return all;
    }

    // Until the report shows `frontToBack` with the fog drawn whole, and KWin agrees.
    bool standsWhole(const std::vector<std::string>& frontToBack) {
        return until([&] { return order(frontToBack) == frontToBack && cut_.empty(); }) &&
               order(frontToBack, true) == frontToBack;
    }

    bool restacks() const {
        const auto& companion = link_->companion();
        return companion && !companion->version.starts_with("5.");
    }

    std::unique_ptr<CompanionStacking> stacking_;
    std::unique_ptr<KWinCompanionScript> script_;
    std::unique_ptr<X11Connection> x_;
    std::vector<Rect> cut_;
};

TEST_F(KWinFogStackingTest, TheFogStaysRightAboveANativeTargetAndUnderWhatComesInFront) {
    // Too large to stand apart.
    test::NativeWindow target("so.olvane.test.Target", "Target", "900x600");
    ASSERT_TRUE(target.ready());
    test::NativeWindow front("so.olvane.test.Front", "Front", "800x500");
    ASSERT_TRUE(front.ready());
    ASSERT_TRUE(until([&] { return windowOf(target.pid()) && windowOf(front.pid()); }));
    const auto targetWindow = *windowOf(target.pid());
    const auto targetNumber = windows_->numberOf(targetWindow);
    const auto targetId = targetWindow.id;
    const auto frontNumber = windows_->numberOf(*windowOf(front.pid()));
    const auto frontId = windowOf(front.pid())->id;
    const auto covered = [&] {
        return std::vector{overlap(windowOf(front.pid())->frame, windowOf(target.pid())->client)};
    };

    // The fog comes in over every window; KWin 6 puts it right under the window in front, KWin
    // 5 leaves it there and OlvaneMac cuts the fog where that window, frame and all, covers the
    // target.
    test::TestWindowTraits traits;
    traits.frame = targetWindow.client;
    traits.instance = "fog";
    traits.windowClass = "Fog";
    traits.pid = ::getpid();
    const auto fog = test::makeWindow(*x_, traits);
    int raises = 0;
    const auto kept = stacking_->keepJustAbove(
        fog, targetNumber,
        {.raiseToTop =
             [&] {
                 ++raises;
                 test::activate(*x_, fog);
             },
         .coveredParts = [&](const std::vector<Rect>& parts) { cut_ = parts; }});
    ASSERT_TRUE(until([&] { return !idOf(fog).empty(); }));
    const auto fogId = idOf(fog);
    const auto fogComesIn = [&](const std::string& id) {
        if (restacks()) {
            EXPECT_TRUE(standsWhole({frontId, id, targetId}));
        } else {
            EXPECT_TRUE(until([&] { return cut_ == covered(); }));
            EXPECT_EQ(order({frontId, id, targetId}, true), (std::vector{id, frontId, targetId}));
        }
    };
    fogComesIn(fogId);

    // The target comes forward, the fog with it; the window in front comes back over both.
    stacking_->activate(targetNumber);
    EXPECT_TRUE(target.waitForFocus(true));
    EXPECT_TRUE(standsWhole({fogId, targetId, frontId}));
    EXPECT_EQ(raises, restacks() ? 0 : 1);
    stacking_->activate(frontNumber);
    EXPECT_TRUE(front.waitForFocus(true));
    EXPECT_TRUE(standsWhole({frontId, fogId, targetId}));

    // Shown again, the fog is a new window to KWin, kept above the target anew.
    xcb_unmap_window(x_->get(), fog);
    x_->flush();
    ASSERT_TRUE(until([&] { return idOf(fog).empty(); }));
    xcb_map_window(x_->get(), fog);
    x_->flush();
    ASSERT_TRUE(until([&] { return !idOf(fog).empty(); }));
    fogComesIn(idOf(fog));

    // The target gone, the companion forgets the pair without a fault.
    desktop_.kwinScript(
        "(workspace.windowList ? workspace.windowList() : "
        "workspace.clientList()).filter(w => w.caption === 'Target')"
        ".forEach(w => w.closeWindow());");
    EXPECT_TRUE(until([&] { return !windowOf(target.pid()) && cut_.empty(); }));
    EXPECT_EQ(desktop_.compositorLog().find("OlvaneMac: "), std::string::npos)
        << desktop_.compositorLog();
}

}  // namespace
}  // namespace olvane::platform::os
