#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/EventTap.h"
#include "platform/Signal.h"

namespace olvane::platform::sim {

// Pointer input moved by the test: it feeds events to the installed tap and records what the
// tap's owner does with the pointer.
class SimEventTap final : public EventTap {
  public:
    struct PostedMouseEvent {
        TapEventType type;
        Point position;
        MouseButton button;
        bool operator==(const PostedMouseEvent&) const = default;
    };

    SimEventTap();
    ~SimEventTap() override;

    std::unique_ptr<Tap> createTap(Callback callback) override;
    std::optional<Point> pointerLocation() override { return cursor_; }
    // Told at every change of the cursor the test makes.
    Handle observeMotion(std::function<void()> onMove) override {
        return motion_.connect([onMove = std::move(onMove)] { onMove(); });
    }
    void warpCursor(Point position) override;
    bool postMouseEvent(TapEventType type, Point position, MouseButton button) override;
    bool postScroll(const ScrollPost& scroll) override;
    std::vector<Rect> activeDisplayBounds() override { return displays_; }

    // Hands an event to the enabled tap; absent when there is none.
    std::optional<TapVerdict> deliver(const TapEvent& event);
    std::optional<TapVerdict> move(std::int64_t dx, std::int64_t dy,
                                   TapEventType type = TapEventType::mouseMoved);
    std::optional<TapVerdict> scroll(double vertical, double horizontal);
    // The session switches the tap off: with the time-out notice, or silently.
    void disableByTimeout();
    void disableSilently();

    void setCursor(std::optional<Point> position) {
        cursor_ = position;
        motion_.emit();
    }
    std::size_t motionObservers() const { return motion_.size(); }
    void setDisplays(std::vector<Rect> displays) { displays_ = std::move(displays); }
    void refuseTaps(bool refuse) { refuseTaps_ = refuse; }
    void refuseRunLoop(bool refuse) { refuseRunLoop_ = refuse; }
    void failPosting(bool fail) { failPosting_ = fail; }
    // Posted scrolls come back to the tap, as they would through a real session.
    void echoPostedScrolls(bool echo) { echoPostedScrolls_ = echo; }

    bool hasTap() const { return tap_ != nullptr; }
    bool isTapEnabled() const;
    int tapsCreated() const { return tapsCreated_; }
    const std::vector<Point>& warps() const { return warps_; }
    const std::vector<PostedMouseEvent>& postedMouseEvents() const { return mouseEvents_; }
    const std::vector<ScrollPost>& postedScrolls() const { return scrolls_; }
    // What the tap answered to the scrolls that came back.
    const std::vector<TapVerdict>& echoVerdicts() const { return echoVerdicts_; }
    void clearRecords();

  private:
    class SimTap;

    SimTap* tap_ = nullptr;
    std::optional<Point> cursor_ = Point{};
    Signal<> motion_;
    std::vector<Rect> displays_;
    bool refuseTaps_ = false;
    bool refuseRunLoop_ = false;
    bool failPosting_ = false;
    bool echoPostedScrolls_ = false;
    int tapsCreated_ = 0;
    std::vector<Point> warps_;
    std::vector<PostedMouseEvent> mouseEvents_;
    std::vector<ScrollPost> scrolls_;
    std::vector<TapVerdict> echoVerdicts_;
};

}  // namespace olvane::platform::sim
