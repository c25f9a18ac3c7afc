#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "platform/linux/compositor/CompanionWindows.h"
#include "platform/linux/compositor/KWinCompanionScript.h"
#include "support/WaylandDesktop.h"

namespace olvane::platform::os {

// A real headless desktop with OlvaneMac's end of the companion's link, on a loop of the test's
// own. A fixture's SetUp calls this one first, and goes on unless it skipped or failed.
class CompanionDesktopTest : public ::testing::Test {
  protected:
    explicit CompanionDesktopTest(test::WaylandDesktop::Kind kind) : desktop_({.kind = kind}) {}

    void SetUp() override {
        if (!test::WaylandDesktop::installed(desktop_.kind())) {
            GTEST_SKIP() << "compositeur absent";
        }
        ASSERT_TRUE(desktop_.ready()) << desktop_.why();
        bus_ = AsyncBus::open(loop_);
        ASSERT_TRUE(bus_);
        link_ = CompanionLink::create(loop_, *bus_);
        ASSERT_TRUE(link_);
        windows_ = std::make_unique<CompanionWindows>(*link_);
    }

    bool stopped() const { return IsSkipped() || HasFatalFailure(); }

    bool until(const std::function<bool()>& condition) {
        return condition() || loop_.runUntil(condition, test::kPatience);
    }

    // KWin's companion, loaded as OlvaneMac loads it.
    std::unique_ptr<KWinCompanionScript> loadKWinScript() {
        return std::make_unique<KWinCompanionScript>(
            *bus_, desktop_.home().root() / "runtime/OlvaneMac/kwin-companion.js");
    }

    test::WaylandDesktop desktop_;
    EpollRunLoop loop_;
    std::unique_ptr<AsyncBus> bus_;
    std::unique_ptr<CompanionLink> link_;
    std::unique_ptr<CompanionWindows> windows_;
};

}  // namespace olvane::platform::os
