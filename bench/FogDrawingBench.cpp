// The fog's drawing per frame over a whole 1920 × 1080 window, as the overlay does it: the
// picture brought up to date, then what changed copied into the window's backing store. A
// typical trail (medium, 200 points) and the longest one (medium, whose 2000 points are the
// largest `maxTrailPoints` of the presets), every point fading at each frame; then the light and
// intense presets, and the typical trail on a 4K screen at 200 % (the same window, four times the
// pixels). Last, the processor time the whole fog takes while it shows and the pointer
// rests: the real effect, frame clock and Qt windows on the Qt event loop (offscreen).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "friction/FogEffectService.h"
#include "platform/LoopFrameClock.h"
#include "platform/linux/SystemClock.h"
#include "ui/effects/FogRenderer.h"
#include "ui/effects/QtFogWindows.h"
#include "ui/foundation/QtRunLoop.h"

namespace {

using namespace olvane;

const QSize kWindow(1920, 1080);

// A pointer's path across the window, newest last, each point a little fainter than the next.
std::vector<TrailPoint> pathOf(std::size_t count) {
    std::vector<TrailPoint> trail;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) / double(count);
        trail.push_back({{200 + 1500 * t, 540 + 350 * std::sin(t * 9)}, 0, t});
    }
    return trail;
}

void drawFrames(benchmark::State& state, FogIntensity intensity, std::size_t points,
                qreal ratio = 1.0) {
    const auto settings = FogSettings::preset(intensity);
    auto trail = pathOf(points);
    ui::FogRenderer renderer;
    QImage backingStore(kWindow * ratio, QImage::Format_ARGB32_Premultiplied);
    backingStore.setDevicePixelRatio(ratio);
    renderer.render(kWindow, ratio, settings.fogOpacity, settings.clearRadius, trail);
    double fade = 0;
    for (auto _ : state) {
        // Every hole fills in a little between two frames, as at 60 frames a second.
        fade += 1.0 / (60 * settings.regenerationDuration);
        for (std::size_t i = 0; i < trail.size(); ++i) {
            const double opacity = double(i) / double(trail.size()) - fade;
            trail[i].opacity = opacity - std::floor(opacity);
        }
        const QRegion changed =
            renderer.render(kWindow, ratio, settings.fogOpacity, settings.clearRadius, trail);
        QPainter painter(&backingStore);
        renderer.paint(painter, changed);
        benchmark::DoNotOptimize(backingStore.constBits());
    }
    state.counters["points"] = double(trail.size());
}

void BM_FogFrameTypicalMedium200(benchmark::State& state) {
    drawFrames(state, FogIntensity::medium, 200);
}
void BM_FogFrameWorstMedium2000(benchmark::State& state) {
    drawFrames(state, FogIntensity::medium, 2000);
}
void BM_FogFrameLight500(benchmark::State& state) {
    drawFrames(state, FogIntensity::light, 500);
}
void BM_FogFrameIntense500(benchmark::State& state) {
    drawFrames(state, FogIntensity::intense, 500);
}
void BM_FogFrameTypicalMedium200AtRatio2(benchmark::State& state) {
    drawFrames(state, FogIntensity::medium, 200, 2.0);
}
BENCHMARK(BM_FogFrameTypicalMedium200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FogFrameTypicalMedium200AtRatio2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FogFrameWorstMedium2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FogFrameLight500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FogFrameIntense500)->Unit(benchmark::kMillisecond);

// A pointer that rests where the test puts it, and says when it moves.
class RestingPointer final : public platform::PointerLocation {
  public:
    std::optional<platform::Point> pointerLocation() override { return position; }
    platform::Handle observeMotion(std::function<void()> onMove) override {
        return moved.connect([onMove = std::move(onMove)] { onMove(); });
    }
    void moveTo(platform::Point point) {
        position = point;
        moved.emit();
    }

    platform::Point position{960, 540};
    platform::Signal<> moved;
};

double processorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void runFor(int milliseconds) {
    QEventLoop wait;
    QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
    wait.exec();
}

// The share of one processor the process takes over `milliseconds` of running its loop.
double processorShare(int milliseconds) {
    const double before = processorSeconds();
    runFor(milliseconds);
    return 100 * (processorSeconds() - before) / (milliseconds / 1000.0);
}

void measureRestingFog() {
    ui::QtRunLoop loop;
    platform::os::SystemClock clock;
    platform::LoopFrameClock frames(loop, FogEffectService::kMinFrameInterval);
    RestingPointer pointer;
    ui::QtFogWindows windows(nullptr);
    FogEffectService fog({windows, frames, pointer, clock});
    fog.setIntensity(FogIntensity::medium);
    fog.activate({{1, {0, 0, 1920, 1080}}});
    // The hole made where the pointer rests when the fog comes fills in.
    runFor(8500);
    const double idle = processorShare(3000);

    // A wipe across the window, then the pointer rests while the holes fill in (8 s).
    for (int step = 0; step < 60; ++step) {
        pointer.moveTo({200.0 + step * 25, 540 + 300 * std::sin(step / 6.0)});
        runFor(17);
    }
    const double refilling = processorShare(8000);
    const double afterwards = processorShare(3000);
    std::printf("fog shown, pointer resting, nothing to redraw:  %5.2f %% of one processor\n",
                idle);
    std::printf("after a wipe, pointer resting, holes filling:   %5.2f %% of one processor\n",
                refilling);
    std::printf("after that, pointer resting, holes filled:      %5.2f %% of one processor\n",
                afterwards);
    fog.deactivate();
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    measureRestingFog();
    return 0;
}
