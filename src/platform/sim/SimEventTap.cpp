#include "platform/sim/SimEventTap.h"

namespace olvane::platform::sim {

class SimEventTap::SimTap final : public EventTap::Tap {
  public:
    SimTap(SimEventTap& owner, Callback callback)
        : owner_(&owner), callback_(std::move(callback)) {}
    ~SimTap() override {
        if (owner_ && owner_->tap_ == this) {
            owner_->tap_ = nullptr;
        }
    }

    bool addToRunLoop() override {
        attached_ = owner_ && !owner_->refuseRunLoop_;
        return attached_;
    }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool isEnabled() const override { return enabled_; }

    bool attached_ = false;
    bool enabled_ = false;
    SimEventTap* owner_;
    Callback callback_;
};

SimEventTap::SimEventTap() = default;

SimEventTap::~SimEventTap() {
    if (tap_) {
        tap_->owner_ = nullptr;
    }
}

std::unique_ptr<EventTap::Tap> SimEventTap::createTap(Callback callback) {
    if (refuseTaps_) {
        return nullptr;
    }
    if (tap_) {
        tap_->owner_ = nullptr;
    }
    auto tap = std::make_unique<SimTap>(*this, std::move(callback));
    tap_ = tap.get();
    ++tapsCreated_;
    return tap;
}

bool SimEventTap::isTapEnabled() const {
    return tap_ && tap_->enabled_;
}

void SimEventTap::warpCursor(Point position) {
    warps_.push_back(position);
    cursor_ = position;
    motion_.emit();
}

bool SimEventTap::postMouseEvent(TapEventType type, Point position, MouseButton button) {
    if (failPosting_) {
        return false;
    }
    mouseEvents_.push_back({type, position, button});
    return true;
}

bool SimEventTap::postScroll(const ScrollPost& scroll) {
    if (failPosting_) {
        return false;
    }
    scrolls_.push_back(scroll);
    if (echoPostedScrolls_) {
        const double horizontal = scroll.wheelCount > 1 ? scroll.wheel2 : 0;
        if (const auto verdict = this->scroll(scroll.wheel1, horizontal)) {
            echoVerdicts_.push_back(*verdict);
        }
    }
    return true;
}

std::optional<TapVerdict> SimEventTap::deliver(const TapEvent& event) {
    const bool notice = event.type == TapEventType::tapDisabledByTimeout;
    if (!tap_ || !tap_->attached_ || (!tap_->enabled_ && !notice)) {
        return std::nullopt;
    }
    return tap_->callback_(event);
}

std::optional<TapVerdict> SimEventTap::move(std::int64_t dx, std::int64_t dy, TapEventType type) {
    return deliver(TapEvent{.type = type, .deltaX = dx, .deltaY = dy});
}

std::optional<TapVerdict> SimEventTap::scroll(double vertical, double horizontal) {
    return deliver(TapEvent{.type = TapEventType::scrollWheel,
                            .scrollVertical = vertical,
                            .scrollHorizontal = horizontal});
}

void SimEventTap::disableByTimeout() {
    if (tap_) {
        tap_->enabled_ = false;
        (void)deliver(TapEvent{.type = TapEventType::tapDisabledByTimeout});
    }
}

void SimEventTap::disableSilently() {
    if (tap_) {
        tap_->enabled_ = false;
    }
}

void SimEventTap::clearRecords() {
    warps_.clear();
    mouseEvents_.clear();
    scrolls_.clear();
    echoVerdicts_.clear();
}

}  // namespace olvane::platform::sim
