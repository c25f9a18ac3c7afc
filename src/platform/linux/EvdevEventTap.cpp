#include "platform/linux/EvdevEventTap.h"

#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <mutex>

#include "platform/linux/EvdevFrameReader.h"
#include "platform/linux/GrabsReleasedOnStop.h"

namespace olvane::platform::os {
namespace {

std::int32_t wholePixels(double value) {
    return static_cast<std::int32_t>(std::lround(value));
}

}  // namespace

// The mice, their grabs and the virtual pointer's buttons are shared with the stall guard's
// thread, under `mutex_`; the loop never holds it across a wait or the tap's callback.
class EvdevEventTap::EvdevTap final : public Tap {
  public:
    EvdevTap(EvdevEventTap& owner, Callback callback, std::vector<PointerDevice> devices)
        : owner_(owner), callback_(std::move(callback)) {
        for (auto& device : devices) {
            const bool hiRes = device.hasHighResolutionWheel;
            mice_.push_back(std::make_unique<Mouse>(std::move(device), EvdevFrameReader(hiRes)));
        }
    }
    ~EvdevTap() override {
        setEnabled(false);
        guard_.reset();
        *alive_ = false;
    }

    bool addToRunLoop() override {
        for (auto& mouse : mice_) {
            auto* m = mouse.get();
            m->watch = owner_.loop_.watchReadable(m->device.fd.get(), [this, m] { read(*m); });
            if (!m->watch) {
                return false;
            }
        }
        return true;
    }

    void setEnabled(bool enabled) override {
        if (enabled == enabled_) {
            return;
        }
        enabled_ = enabled;
        if (enabled) {
            owner_.position_.resync();
            {
                std::lock_guard lock(mutex_);
                for (auto& mouse : mice_) {
                    // A button held now was pressed for the session: it must be released there.
                    mouse->waitingForRelease =
                        heldMouseButtons(mouse->device.fd.get()).any() || !grab(*mouse);
                }
            }
            guard_ = std::make_unique<LoopStallGuard>(owner_.loop_, owner_.guarding_.timing,
                                                      [this] { giveBack(); });
            std::vector<int> devices;
            for (const auto& mouse : mice_) {
                devices.push_back(mouse->device.fd.get());
            }
            stopRelease_ = std::make_unique<GrabsReleasedOnStop>(
                owner_.loop_, devices, owner_.virtualPointer_.get(), [this] {
                    {
                        std::lock_guard lock(mutex_);
                        releaseMice();
                    }
                    noticeGivenBack();
                });
            return;
        }
        guard_.reset();
        stopRelease_.reset();
        std::lock_guard lock(mutex_);
        releaseMice();
    }

    bool isEnabled() const override { return enabled_; }

  private:
    struct Mouse {
        Mouse(PointerDevice d, EvdevFrameReader r) : device(std::move(d)), reader(std::move(r)) {}
        PointerDevice device;
        EvdevFrameReader reader;
        bool grabbed = false;
        bool waitingForRelease = false;
        // What it holds down on the virtual pointer.
        MouseButtons pressed;
        Handle watch;
    };

    // On the guard's thread: the loop no longer reads the mice, so they go back to the session
    // at once; the tap's owner hears of it once the loop answers again.
    void giveBack() {
        {
            std::lock_guard lock(mutex_);
            releaseMice();
        }
        owner_.loop_.postFromAnyThread([this, alive = alive_] {
            if (*alive && enabled_) {
                noticeGivenBack();
            }
        });
        if (owner_.guarding_.onGivenBack) {
            owner_.guarding_.onGivenBack(owner_.guarding_.timing.timeout);
        }
    }

    void noticeGivenBack() {
        guard_.reset();
        stopRelease_.reset();
        enabled_ = false;
        (void)callback_({.type = TapEventType::tapDisabledByTimeout});
    }

    // Under `mutex_`.
    void releaseMice() {
        const auto held = virtualButtons();
        for (auto& mouse : mice_) {
            if (mouse->grabbed) {
                (void)::ioctl(mouse->device.fd.get(), EVIOCGRAB, 0);
                mouse->grabbed = false;
            }
            mouse->waitingForRelease = false;
            mouse->pressed.reset();
        }
        releaseLetGo(held);
    }

    // A button of the virtual pointer stays down while any mouse holds it.
    MouseButtons virtualButtons() const {
        MouseButtons held;
        for (const auto& mouse : mice_) {
            held |= mouse->pressed;
        }
        return held;
    }

    void setButton(Mouse& mouse, std::uint16_t code, bool pressed) {
        const auto held = virtualButtons();
        mouse.pressed[code - BTN_MOUSE] = pressed;
        if (virtualButtons() != held) {
            (void)owner_.virtualPointer_->button(code, pressed);
        }
    }

    // Lets go, on the virtual pointer, of what was `held` and no mouse holds any more.
    void releaseLetGo(const MouseButtons& held) {
        const auto now = virtualButtons();
        for (std::size_t i = 0; i < held.size(); ++i) {
            if (held[i] && !now[i]) {
                (void)owner_.virtualPointer_->button(static_cast<std::uint16_t>(BTN_MOUSE + i),
                                                     false);
            }
        }
    }

    bool grab(Mouse& mouse) {
        mouse.grabbed = ::ioctl(mouse.device.fd.get(), EVIOCGRAB, 1) == 0;
        return mouse.grabbed;
    }

    void read(Mouse& mouse) {
        std::array<input_event, 64> events{};
        const auto bytes = ::read(mouse.device.fd.get(), events.data(), sizeof(events));
        if (bytes < 0) {
            if (errno != EAGAIN && errno != EINTR) {
                // The mouse went away: the others go on, without what it held.
                std::lock_guard lock(mutex_);
                const auto held = virtualButtons();
                mouse.pressed.reset();
                releaseLetGo(held);
                mouse.grabbed = false;
                mouse.watch.cancel();
                if (stopRelease_) {
                    stopRelease_->forget(mouse.device.fd.get());
                }
                mouse.device.fd.reset();
            }
            return;
        }
        const auto count = static_cast<std::size_t>(bytes) / sizeof(input_event);
        for (std::size_t i = 0; i < count && mouse.device.fd.valid(); ++i) {
            if (mouse.reader.add(events[i])) {
                handleFrame(mouse);
            }
        }
    }

    void handleFrame(Mouse& mouse) {
        if (!enabled_) {
            return;
        }
        auto type = TapEventType::mouseMoved;
        {
            std::lock_guard lock(mutex_);
            if (!mouse.grabbed) {
                // Its events went to the session; once its buttons are up, it is ours.
                if (mouse.waitingForRelease && heldMouseButtons(mouse.device.fd.get()).none()) {
                    mouse.waitingForRelease = !grab(mouse);
                }
                return;
            }
            const auto held = virtualButtons();
            type = held[BTN_LEFT - BTN_MOUSE]    ? TapEventType::leftMouseDragged
                   : held[BTN_RIGHT - BTN_MOUSE] ? TapEventType::rightMouseDragged
                                                 : TapEventType::mouseMoved;
        }
        const auto& frame = mouse.reader.frame();
        auto& replay = *owner_.virtualPointer_;
        if (frame.moves() &&
            callback_({.type = type, .deltaX = frame.dx, .deltaY = frame.dy}) == TapVerdict::pass) {
            (void)replay.move(frame.dx, frame.dy);
            owner_.position_.moved(frame.dx, frame.dy);
        }
        if (frame.scrolls() &&
            callback_({.type = TapEventType::scrollWheel,
                       .scrollVertical = double(frame.wheel),
                       .scrollHorizontal = double(frame.horizontalWheel)}) == TapVerdict::pass) {
            (void)replay.scroll(frame.wheel, frame.horizontalWheel);
        }
        std::lock_guard lock(mutex_);
        // Given back meanwhile: its buttons are the session's now.
        if (!mouse.grabbed) {
            return;
        }
        for (const auto& button : frame.buttons) {
            setButton(mouse, button.code, button.value != 0);
        }
    }

    EvdevEventTap& owner_;
    Callback callback_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Mouse>> mice_;
    bool enabled_ = false;
    // Watch the loop, and the terminal's stops, while the tap is on.
    std::unique_ptr<LoopStallGuard> guard_;
    std::unique_ptr<GrabsReleasedOnStop> stopRelease_;
    // Whether the tap still lives, for the notice the guard leaves the loop.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

EvdevEventTap::EvdevEventTap(RunLoop& loop, std::unique_ptr<X11Pointer> pointer,
                             InputDevicePlaces places, EvdevStallGuarding guarding)
    : loop_(loop),
      pointer_(std::move(pointer)),
      places_(std::move(places)),
      guarding_(std::move(guarding)),
      position_(pointer_.get()) {}

EvdevEventTap::~EvdevEventTap() = default;

std::unique_ptr<EventTap::Tap> EvdevEventTap::createTap(Callback callback) {
    auto devices = openPointerDevices(places_.inputFolder);
    if (devices.empty()) {
        return nullptr;
    }
    if (!virtualPointer_) {
        virtualPointer_ = UinputPointer::create(places_.uinput, kVirtualPointerName);
        if (!virtualPointer_) {
            return nullptr;
        }
    }
    return std::make_unique<EvdevTap>(*this, std::move(callback), std::move(devices));
}

std::optional<Point> EvdevEventTap::pointerLocation() {
    lastLocation_ = position_.current();
    return lastLocation_;
}

Handle EvdevEventTap::observeMotion(std::function<void()> onMove) {
    return pointer_ ? pointer_->observeMotion(std::move(onMove)) : Handle();
}

void EvdevEventTap::warpCursor(Point position) {
    const auto from = lastLocation_ ? lastLocation_ : pointerLocation();
    if (!from || !virtualPointer_) {
        return;
    }
    const auto dx = wholePixels(position.x - from->x);
    const auto dy = wholePixels(position.y - from->y);
    (void)virtualPointer_->move(dx, dy);
    position_.moved(dx, dy);
    lastLocation_ = Point{from->x + dx, from->y + dy};
}

bool EvdevEventTap::postMouseEvent(TapEventType /*type*/, Point /*position*/,
                                   MouseButton /*button*/) {
    return true;
}

bool EvdevEventTap::postScroll(const ScrollPost& scroll) {
    if (!virtualPointer_) {
        return false;
    }
    if (scroll.wheelCount == 1) {
        return virtualPointer_->scroll(scroll.wheel1, 0);
    }
    return virtualPointer_->scroll(scroll.wheel1, scroll.wheel2);
}

std::vector<Rect> EvdevEventTap::activeDisplayBounds() {
    return pointer_ ? pointer_->displayBounds() : std::vector<Rect>{};
}

}  // namespace olvane::platform::os
