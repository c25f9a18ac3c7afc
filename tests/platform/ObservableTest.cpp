#include <gtest/gtest.h>

#include "platform/NotificationCenter.h"
#include "platform/Observable.h"

namespace olvane::platform {
namespace {

TEST(Observable, NotifiesOnlyOnRealChangeButFunctionsOnEveryWrite) {
    Observable<int> number(1);
    std::vector<int> seen;
    auto observer = number.observe([&](const int& v) { seen.push_back(v); });
    EXPECT_FALSE(number.set(1));
    EXPECT_TRUE(number.set(2));
    EXPECT_FALSE(number.set(2));
    EXPECT_EQ(seen, std::vector<int>{2});

    Observable<std::function<bool()>> guard;
    int writes = 0;
    auto guardObserver = guard.observe([&](const auto&) { ++writes; });
    guard.set(nullptr);
    guard.set(nullptr);
    EXPECT_EQ(writes, 2);
}

TEST(Signal, ObserversMayDisconnectThemselvesAndOthersDuringANotification) {
    Signal<int> signal;
    std::vector<std::string> calls;
    Handle first, second, third;
    first = signal.connect([&](int) {
        calls.push_back("first");
        first.cancel();
        third.cancel();
    });
    second = signal.connect([&](int) { calls.push_back("second"); });
    third = signal.connect([&](int) { calls.push_back("third"); });
    signal.emit(0);
    signal.emit(0);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "second"}));
}

TEST(NotificationCenter, DeliversByNameWithUserInfoUntilTheObserverIsDropped) {
    NotificationCenter center;
    std::vector<std::string> received;
    auto observer = center.observe("browserExtensionMessageReceived", [&](const Json& info) {
        received.push_back(info.value("browserBundleID", ""));
    });
    center.post("delayAccessCompleted", {{"bundleID", "x"}});
    center.post("browserExtensionMessageReceived", {{"browserBundleID", "com.google.Chrome"}});
    observer.cancel();
    center.post("browserExtensionMessageReceived", {{"browserBundleID", "org.mozilla.firefox"}});
    EXPECT_EQ(received, std::vector<std::string>{"com.google.Chrome"});
}

}  // namespace
}  // namespace olvane::platform
