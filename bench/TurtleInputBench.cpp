// The latency the turtle adds to each pointer event on both Linux ways, at factor 8 with moves of
// 8 pixels (each gives a one-pixel step).
// - X11: from an XTest move reaching the server to the pointer standing where the turtle puts
//   it, against the same move without the turtle (the server only moves the pointer).
// - Input devices: from a uinput mouse's event to the slowed one on the virtual pointer, against
//   a plain reader of the same mouse. Needs a writable /dev/uinput.
#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchChild.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/EvdevEventTap.h"
#include "platform/linux/X11EventTap.h"
#include "support/TurtleOverTap.h"

namespace {

using namespace olvane;
using namespace olvane::bench;
using namespace std::chrono_literals;
using platform::Point;
using platform::os::X11Connection;

constexpr int kEvents = 400;

struct Figures {
    double median = 0;
    double p95 = 0;
};

Figures figures(std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[micros.size() * 95 / 100]};
}

double microsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

Point pointerOf(X11Connection& x) {
    const platform::os::XcbPtr<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(x.get(), xcb_query_pointer(x.get(), x.root()), nullptr));
    return reply ? Point{double(reply->root_x), double(reply->root_y)} : Point{};
}

void fakeMoveTo(X11Connection& x, Point p) {
    xcb_test_fake_input(x.get(), XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, x.root(),
                        static_cast<std::int16_t>(p.x), static_cast<std::int16_t>(p.y), 0);
    x.flush();
}

// Moves of 8 pixels to the right and back, each timed until the pointer stands at `expected`.
std::vector<double> timeX11Moves(platform::os::EpollRunLoop& loop, X11Connection& hand,
                                 const std::function<double(double from)>& expected) {
    std::vector<double> micros;
    for (int i = 0; i < kEvents; ++i) {
        const Point from = pointerOf(hand);
        const double dx = (i / 50) % 2 == 0 ? 8 : -8;
        const double target = expected(dx);
        const auto start = Clock::now();
        fakeMoveTo(hand, {from.x + dx, from.y});
        if (!loop.runUntil([&] { return pointerOf(hand).x == from.x + target; }, 5s)) {
            std::fprintf(stderr, "le pointeur n’est pas arrivé\n");
            std::exit(1);
        }
        micros.push_back(microsSince(start));
    }
    return micros;
}

void benchX11() {
    std::string display;
    auto server = startXvfb(display);
    if (!server) {
        std::printf("X11 : non mesuré (pas de Xvfb)\n");
        return;
    }
    ::setenv("DISPLAY", display.c_str(), 1);
    {
        platform::os::EpollRunLoop loop;
        auto input = platform::os::X11EventTap::create(loop);
        auto hand = X11Connection::open();
        if (!input || !hand) {
            std::printf("X11 : non mesuré (pas de XInput 2.2)\n");
        } else {
            fakeMoveTo(*hand, {700, 450});
            const auto plain = figures(timeX11Moves(loop, *hand, [](double dx) { return dx; }));
            test::TurtleOverTap turtle(loop, *input);
            turtle.service.activate(TurtleIntensity::medium);
            const auto slowed =
                figures(timeX11Moves(loop, *hand, [](double dx) { return dx / 8; }));
            std::printf("X11 (XInput2 et rappel du pointeur), %d mouvements XTest sur Xvfb\n",
                        kEvents);
            std::printf("  sans Tortue : médiane %.0f µs, p95 %.0f µs\n", plain.median, plain.p95);
            std::printf("  avec Tortue : médiane %.0f µs, p95 %.0f µs (ajout médian %.0f µs)\n",
                        slowed.median, slowed.p95, slowed.median - plain.median);
        }
    }
    stop(*server);
}

// Waits until `fd` has an event of that code and returns the microseconds since `start`.
double waitForEvent(int fd, std::uint16_t code, Clock::time_point start) {
    input_event e{};
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) {
            std::fprintf(stderr, "aucun événement\n");
            std::exit(1);
        }
        while (::read(fd, &e, sizeof e) == sizeof e) {
            if (e.type == EV_REL && e.code == code) {
                return microsSince(start);
            }
        }
    }
}

int openWhenReady(const std::filesystem::path& node) {
    for (int i = 0; i < 500; ++i) {
        const int fd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            return fd;
        }
        ::usleep(10000);
    }
    return -1;
}

void benchInputDevices() {
    const char* uinput = "/dev/uinput";
    if (::access(uinput, W_OK) != 0) {
        std::printf("evdev et uinput : non mesuré (/dev/uinput absent ou non inscriptible)\n");
        return;
    }
    auto mouse = platform::os::UinputPointer::create(uinput, "Souris du banc OlvaneMac");
    const auto mouseNode = mouse ? mouse->eventNode() : std::nullopt;
    const int plainReader = mouseNode ? openWhenReady(*mouseNode) : -1;
    if (plainReader < 0) {
        std::printf("evdev et uinput : non mesuré (souris virtuelle introuvable)\n");
        return;
    }
    std::vector<double> plain;
    for (int i = 0; i < kEvents; ++i) {
        const auto start = Clock::now();
        (void)mouse->move(8, 0);
        plain.push_back(waitForEvent(plainReader, REL_X, start));
    }
    ::close(plainReader);

    const auto folder = std::filesystem::temp_directory_path() / "olvane-bench-input";
    std::filesystem::create_directories(folder);
    std::filesystem::remove(folder / "event0");
    std::filesystem::create_symlink(*mouseNode, folder / "event0");
    platform::os::EpollRunLoop loop;
    platform::os::EvdevEventTap input(loop, nullptr, {folder, uinput});
    test::TurtleOverTap turtle(loop, input);
    turtle.service.activate(TurtleIntensity::medium);
    int replayed = -1;
    loop.runUntil(
        [&] {
            for (const auto& entry : std::filesystem::directory_iterator("/dev/input")) {
                const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                char name[256] = {};
                if (fd >= 0 && ::ioctl(fd, EVIOCGNAME(sizeof name - 1), name) >= 0 &&
                    std::string(name) == platform::os::kVirtualPointerName) {
                    replayed = fd;
                    return true;
                }
                if (fd >= 0) {
                    ::close(fd);
                }
            }
            return false;
        },
        5s);
    std::vector<double> slowed;
    for (int i = 0; replayed >= 0 && i < kEvents; ++i) {
        const auto start = Clock::now();
        (void)mouse->move(8, 0);
        loop.runUntil(
            [&] {
                pollfd p{replayed, POLLIN, 0};
                return ::poll(&p, 1, 0) > 0;
            },
            5s);
        slowed.push_back(waitForEvent(replayed, REL_X, start));
    }
    turtle.service.deactivate();
    std::filesystem::remove_all(folder);
    if (replayed < 0) {
        std::printf("evdev et uinput : non mesuré (pointeur virtuel introuvable)\n");
        return;
    }
    ::close(replayed);
    const auto before = figures(plain);
    const auto after = figures(slowed);
    std::printf("evdev et uinput, %d mouvements d’une souris uinput\n", kEvents);
    std::printf("  sans Tortue : médiane %.0f µs, p95 %.0f µs\n", before.median, before.p95);
    std::printf("  avec Tortue : médiane %.0f µs, p95 %.0f µs (ajout médian %.0f µs)\n",
                after.median, after.p95, after.median - before.median);
}

}  // namespace

int main() {
    benchX11();
    benchInputDevices();
    return 0;
}
