#include "platform/linux/X11EventTap.h"

namespace olvane::platform::os {

class X11EventTap::X11Tap final : public Tap {
  public:
    X11Tap(X11EventTap& owner, Callback callback) : owner_(owner), callback_(std::move(callback)) {}
    ~X11Tap() override {
        // A tap made since has taken over the raw motion.
        if (owner_.tap_ == this) {
            setEnabled(false);
            owner_.tap_ = nullptr;
        }
    }

    bool addToRunLoop() override {
        inRunLoop_ = owner_.pointer_->connection().isUsable();
        return inRunLoop_;
    }
    void setEnabled(bool enabled) override {
        if (enabled == enabled_ || (enabled && !inRunLoop_)) {
            return;
        }
        enabled_ = owner_.setTapEnabled(enabled) && enabled;
    }
    bool isEnabled() const override { return enabled_ && owner_.pointer_->connection().isUsable(); }

    TapVerdict deliver(const TapEvent& event) { return callback_(event); }

  private:
    X11EventTap& owner_;
    Callback callback_;
    bool inRunLoop_ = false;
    bool enabled_ = false;
};

std::unique_ptr<X11EventTap> X11EventTap::create(RunLoop& loop, const std::string& display) {
    auto pointer = X11Pointer::create(loop, display);
    if (!pointer) {
        return nullptr;
    }
    return std::unique_ptr<X11EventTap>(new X11EventTap(loop, std::move(pointer)));
}

X11EventTap::~X11EventTap() {
    pendingMotion_.cancel();
    rawMotion_.cancel();
}

std::unique_ptr<EventTap::Tap> X11EventTap::createTap(Callback callback) {
    if (!pointer_->connection().isUsable()) {
        return nullptr;
    }
    auto tap = std::make_unique<X11Tap>(*this, std::move(callback));
    tap_ = tap.get();
    return tap;
}

// Raw motion only while a tap is on: a resting turtle costs the server and us nothing.
bool X11EventTap::setTapEnabled(bool enabled) {
    pendingMotion_.cancel();
    rawMotion_.cancel();
    if (!enabled) {
        return true;
    }
    const auto state = pointer_->state();
    if (!state) {
        return false;
    }
    anchor_ = state->position;
    rawMotion_ = pointer_->observeMotion([this] {
        // Motion arrives in bursts: the pointer is read once after the burst.
        if (!pendingMotion_) {
            pendingMotion_ = loop_.post([this] {
                pendingMotion_.cancel();
                followPointer();
            });
        }
    });
    return static_cast<bool>(rawMotion_);
}

void X11EventTap::followPointer() {
    if (!tap_ || !tap_->isEnabled()) {
        return;
    }
    const auto state = pointer_->state();
    if (!state) {
        return;
    }
    const auto dx = static_cast<std::int64_t>(state->position.x - anchor_.x);
    const auto dy = static_cast<std::int64_t>(state->position.y - anchor_.y);
    if (dx == 0 && dy == 0) {
        return;
    }
    const auto type = state->leftButton    ? TapEventType::leftMouseDragged
                      : state->rightButton ? TapEventType::rightMouseDragged
                                           : TapEventType::mouseMoved;
    seenDuringDelivery_ = state->position;
    warpedDuringDelivery_ = false;
    const auto verdict = tap_->deliver({.type = type, .deltaX = dx, .deltaY = dy});
    seenDuringDelivery_.reset();
    if (warpedDuringDelivery_) {
        return;
    }
    if (verdict == TapVerdict::pass) {
        anchor_ = state->position;
    } else {
        pointer_->warpBy(anchor_.x - state->position.x, anchor_.y - state->position.y);
    }
}

std::optional<Point> X11EventTap::pointerLocation() {
    if (tap_ && tap_->isEnabled()) {
        return anchor_;
    }
    return pointer_->pointerLocation();
}

Handle X11EventTap::observeMotion(std::function<void()> onMove) {
    return pointer_->observeMotion(std::move(onMove));
}

void X11EventTap::warpCursor(Point position) {
    if (seenDuringDelivery_) {
        pointer_->warpBy(position.x - seenDuringDelivery_->x, position.y - seenDuringDelivery_->y);
        warpedDuringDelivery_ = true;
    } else {
        pointer_->warpTo(position);
    }
    anchor_ = position;
}

bool X11EventTap::postMouseEvent(TapEventType /*type*/, Point /*position*/,
                                 MouseButton /*button*/) {
    return true;
}

bool X11EventTap::postScroll(const ScrollPost& /*scroll*/) {
    return false;
}

std::vector<Rect> X11EventTap::activeDisplayBounds() {
    return pointer_->displayBounds();
}

}  // namespace olvane::platform::os
