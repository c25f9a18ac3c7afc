// The per-event cost of the turtle (pointer and scroll) and the per-frame cost of the fog's
// trail at its heaviest presets (light: the largest holes; custom 20 points, 60 s: the longest
// trail), with a full trail. The platform is a no-op stand-in, so only our own work is counted.
#include <benchmark/benchmark.h>

#include <cmath>

#include "friction/FogEffectService.h"
#include "friction/TurtleEffectService.h"
#include "platform/LoopFrameClock.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimKeyEventSource.h"
#include "platform/sim/SimOverlayWindows.h"

namespace {

using namespace olvane;
using platform::Point;

// Hands events straight to the tap; warps and posts only move a stored pointer.
class BenchEventTap final : public platform::EventTap {
  public:
    class BenchTap final : public Tap {
      public:
        explicit BenchTap(Callback onEvent) : callback(std::move(onEvent)) {}
        bool addToRunLoop() override { return true; }
        void setEnabled(bool) override {}
        bool isEnabled() const override { return true; }
        Callback callback;
    };

    std::unique_ptr<Tap> createTap(Callback callback) override {
        auto tap = std::make_unique<BenchTap>(std::move(callback));
        tap_ = tap.get();
        return tap;
    }
    std::optional<Point> pointerLocation() override { return cursor; }
    void warpCursor(Point position) override { cursor = position; }
    bool postMouseEvent(platform::TapEventType, Point, platform::MouseButton) override {
        return true;
    }
    bool postScroll(const platform::ScrollPost&) override { return true; }
    std::vector<platform::Rect> activeDisplayBounds() override { return {{0, 0, 1920, 1080}}; }

    platform::TapVerdict deliver(const platform::TapEvent& event) { return tap_->callback(event); }

    Point cursor{960, 540};

  private:
    BenchTap* tap_ = nullptr;
};

struct Turtle {
    platform::sim::ManualRunLoop loop;
    BenchEventTap input;
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimAccessibilityTrust trust{true};
    platform::Observable<ActiveEffects::Set> effects;
    TurtleEffectService service{{loop, input, keys, trust, {}, ActiveEffects(effects)}};

    Turtle() { service.activate(TurtleIntensity::medium); }
};

void TurtlePointerEvent(benchmark::State& state) {
    Turtle turtle;
    std::int64_t dx = 3;
    for (auto _ : state) {
        dx = -dx;  // back and forth, so the pointer never rests on an edge
        benchmark::DoNotOptimize(turtle.input.deliver({.deltaX = dx, .deltaY = 2}));
    }
}
BENCHMARK(TurtlePointerEvent);

void TurtleScrollEvent(benchmark::State& state) {
    Turtle turtle;
    for (auto _ : state) {
        benchmark::DoNotOptimize(turtle.input.deliver(
            {.type = platform::TapEventType::scrollWheel, .scrollVertical = 1.3}));
    }
}
BENCHMARK(TurtleScrollEvent);

struct Fog {
    platform::sim::ManualRunLoop loop;
    BenchEventTap pointer;
    platform::sim::SimOverlayWindows<FogEffectState> windows;
    platform::LoopFrameClock frames{loop, FogEffectService::kMinFrameInterval};
    FogEffectService service{{windows, frames, pointer, loop.clock()}};

    // One overlay over a 1920 × 1080 window, its trail filled by pointer moves.
    explicit Fog(bool light) {
        if (light) {
            service.setIntensity(FogIntensity::light);
        } else {
            service.setCustomIntensity(20, 60, 0.99);
        }
        service.activate({{1, {0, 0, 1920, 1080}}});
        while (trail().size() < service.maxTrailPoints()) {
            step();
            service.updateFrame();
        }
    }
    const std::vector<TrailPoint>& trail() const {
        return service.overlays().front().state->trail();
    }
    // A move of 6 points, just above the sampling threshold, along a circle.
    void step() {
        angle += 6.0 / 300;
        pointer.cursor = {960 + 300 * std::cos(angle), 540 + 300 * std::sin(angle)};
    }
    double angle = 0;
};

void FogFrame(benchmark::State& state, bool light, bool moving) {
    Fog fog(light);
    for (auto _ : state) {
        if (moving) {
            fog.step();
        }
        fog.service.updateFrame();
    }
    state.counters["trail"] = static_cast<double>(fog.trail().size());
}
BENCHMARK_CAPTURE(FogFrame, light_moving, true, true);
BENCHMARK_CAPTURE(FogFrame, light_resting, true, false);
BENCHMARK_CAPTURE(FogFrame, custom20_moving, false, true);
BENCHMARK_CAPTURE(FogFrame, custom20_resting, false, false);

}  // namespace

BENCHMARK_MAIN();
