#include "platform/linux/compositor/CompanionPointer.h"

#include <chrono>

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

// Far longer than a frame: a fog that still runs asks again well within it.
constexpr auto kIdleBeforeStop = 1s;

}  // namespace

CompanionPointer::CompanionPointer(RunLoop& loop, CompanionLink& link, CompanionWindows& windows,
                                   PointerLocation* fallback)
    : loop_(loop), link_(link), windows_(windows), fallback_(fallback) {
    reports_ = link_.observePointer([this](const Point& at) { reported(at); });
    companion_ = link_.observeCompanion([this] {
        // A new companion knows nothing of what the last one was asked.
        asked_ = false;
        position_.reset();
        if (moved_.size() > 0 || idleCheck_) {
            follow();
        }
    });
}

std::optional<Point> CompanionPointer::pointerLocation() {
    if (!windows_.live()) {
        return fallback_ ? fallback_->pointerLocation() : std::nullopt;
    }
    follow();
    return position_;
}

Handle CompanionPointer::observeMotion(std::function<void()> onMove) {
    auto own = moved_.connect([onMove] { onMove(); });
    auto fallback = fallback_ ? fallback_->observeMotion(onMove) : Handle();
    follow();
    return Handle([this, own = std::make_shared<Handle>(std::move(own)),
                   fallback = std::make_shared<Handle>(std::move(fallback))] {
        own->cancel();
        fallback->cancel();
        usedSinceCheck_ = true;
    });
}

void CompanionPointer::follow() {
    usedSinceCheck_ = true;
    if (!idleCheck_) {
        idleCheck_ = loop_.every(kIdleBeforeStop, [this] { stopFollowingUnlessUsed(); });
    }
    if (!asked_ && link_.companion()) {
        asked_ = true;
        link_.ask(R"({"pointer":true})");
    }
}

void CompanionPointer::stopFollowingUnlessUsed() {
    if (std::exchange(usedSinceCheck_, false) || moved_.size() > 0) {
        return;
    }
    idleCheck_.cancel();
    if (std::exchange(asked_, false)) {
        link_.ask(R"({"pointer":false})");
    }
    position_.reset();
}

void CompanionPointer::reported(const Point& at) {
    position_ = windows_.toXwayland(at);
    moved_.emit();
}

}  // namespace olvane::platform::os
