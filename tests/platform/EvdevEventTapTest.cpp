// The turtle over a real input device: a mouse made through uinput is grabbed, and what the
// turtle keeps comes out of the virtual pointer. Needs a writable /dev/uinput; the fake devices
// stand in for the kernel's elsewhere.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <future>
#include <iterator>
#include <set>
#include <string>

#include "platform/FileDescriptor.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/EvdevEventTap.h"
#include "platform/sim/CaptureLogSink.h"
#include "support/ChildProcess.h"
#include "support/FakeInputDevices.h"
#include "support/TempHome.h"
#include "support/TurtleOverTap.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kUinput = "/dev/uinput";

// The event node of the input device of that name, once it can be opened.
std::optional<fs::path> nodeNamed(const std::string& name) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/dev/input", ec)) {
        FileDescriptor fd(::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        std::array<char, 256> found{};
        if (fd.valid() && ::ioctl(fd.get(), EVIOCGNAME(found.size() - 1), found.data()) >= 0 &&
            name == found.data()) {
            return entry.path();
        }
    }
    return std::nullopt;
}

// The descriptors of this process open on `node`.
std::set<int> descriptorsOpenOn(const fs::path& node) {
    std::set<int> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", ec)) {
        if (fs::read_symlink(entry.path(), ec) == node) {
            found.insert(std::stoi(entry.path().filename().string()));
        }
    }
    return found;
}

// What one reader of a device sees.
struct Reader {
    explicit Reader(const fs::path& node)
        : fd(::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}

    void drain() {
        input_event e{};
        while (::read(fd.get(), &e, sizeof(e)) == sizeof(e)) {
            if (e.type != EV_SYN) {
                seen.push_back(e);
            }
        }
    }
    // The sum of the values of that code seen so far.
    std::int32_t total(std::uint16_t type, std::uint16_t code) {
        drain();
        std::int32_t sum = 0;
        for (const auto& e : seen) {
            sum += (e.type == type && e.code == code) ? e.value : 0;
        }
        return sum;
    }

    FileDescriptor fd;
    std::vector<input_event> seen;
};

class EvdevEventTapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::access(kUinput, W_OK) != 0) {
            GTEST_SKIP() << kUinput << " is missing or not writable here: the evdev and uinput "
                         << "path is not tried";
        }
        mouse_ = UinputPointer::create(kUinput, "Souris d’essai OlvaneMac");
        ASSERT_TRUE(mouse_);
        std::optional<fs::path> node;
        ASSERT_TRUE(loop_.runUntil(
            [&] { return (node = mouse_->eventNode()) && ::access(node->c_str(), R_OK) == 0; },
            10s));
        mouseNode_ = *node;
        // Only this mouse is offered to the tap, never the machine's own.
        fs::create_symlink(mouseNode_, home_.root() / "event0");
        input_ = std::make_unique<EvdevEventTap>(loop_, nullptr,
                                                 InputDevicePlaces{home_.root(), kUinput});
        turtle_ = std::make_unique<test::TurtleOverTap>(loop_, *input_);
    }

    // The virtual pointer's node, once the turtle has made it.
    std::optional<fs::path> virtualPointerNode() {
        std::optional<fs::path> node;
        (void)loop_.runUntil([&] { return (node = nodeNamed(kVirtualPointerName)).has_value(); },
                             10s);
        return node;
    }

    // Whether the last button event `reader` saw was that button going `value`.
    static bool lastButtonIs(Reader& reader, std::uint16_t code, std::int32_t value) {
        reader.drain();
        return !reader.seen.empty() && reader.seen.back().type == EV_KEY &&
               reader.seen.back().code == code && reader.seen.back().value == value;
    }

    test::TempHome home_;
    EpollRunLoop loop_;
    std::unique_ptr<UinputPointer> mouse_;
    fs::path mouseNode_;
    std::unique_ptr<EvdevEventTap> input_;
    std::unique_ptr<test::TurtleOverTap> turtle_;
};

TEST_F(EvdevEventTapTest, TheGrabbedMouseIsReplayedSlowedOnTheVirtualPointer) {
    ASSERT_TRUE(turtle_->service.activate(TurtleIntensity::medium));  // pointer ÷8, wheel ÷2
    const auto virtualNode = virtualPointerNode();
    ASSERT_TRUE(virtualNode);
    Reader replayed(*virtualNode);
    Reader others(mouseNode_);
    ASSERT_TRUE(replayed.fd.valid() && others.fd.valid());

    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(mouse_->move(1, 0));
    }
    ASSERT_TRUE(loop_.runUntil([&] { return replayed.total(EV_REL, REL_X) != 0; }, 10s));
    EXPECT_EQ(replayed.total(EV_REL, REL_X), 1);

    // A notch is 120 fine units: half of it comes out, the whole notch after the second.
    ASSERT_TRUE(mouse_->scroll(120, 0));
    ASSERT_TRUE(
        loop_.runUntil([&] { return replayed.total(EV_REL, REL_WHEEL_HI_RES) == 60; }, 10s));
    EXPECT_EQ(replayed.total(EV_REL, REL_WHEEL), 0);
    ASSERT_TRUE(mouse_->scroll(120, 0));
    ASSERT_TRUE(loop_.runUntil([&] { return replayed.total(EV_REL, REL_WHEEL) == 1; }, 10s));
    EXPECT_EQ(replayed.total(EV_REL, REL_WHEEL_HI_RES), 120);

    // Buttons pass unchanged; nobody else sees the grabbed mouse.
    ASSERT_TRUE(mouse_->button(BTN_LEFT, true));
    ASSERT_TRUE(loop_.runUntil([&] { return replayed.total(EV_KEY, BTN_LEFT) == 1; }, 10s));
    EXPECT_TRUE((others.drain(), others.seen.empty()));

    // Switching off lets the button go on the virtual pointer and gives the mouse back.
    turtle_->service.deactivate();
    EXPECT_EQ(replayed.total(EV_KEY, BTN_LEFT), 1);  // pressed, then released: 1 + 0
    EXPECT_TRUE(lastButtonIs(replayed, BTN_LEFT, 0));
    ASSERT_TRUE(mouse_->move(5, 0));
    ASSERT_TRUE(loop_.runUntil([&] { return others.total(EV_REL, REL_X) == 5; }, 10s));
    EXPECT_EQ(replayed.total(EV_REL, REL_X), 1);
}

TEST_F(EvdevEventTapTest, AMouseUnpluggedWhileHoldingAButtonLetsGoOfIt) {
    ASSERT_TRUE(turtle_->service.activate(TurtleIntensity::medium));
    const auto virtualNode = virtualPointerNode();
    ASSERT_TRUE(virtualNode);
    Reader replayed(*virtualNode);
    ASSERT_TRUE(mouse_->button(BTN_RIGHT, true));
    ASSERT_TRUE(loop_.runUntil([&] { return lastButtonIs(replayed, BTN_RIGHT, 1); }, 10s));

    mouse_.reset();
    ASSERT_TRUE(loop_.runUntil([&] { return lastButtonIs(replayed, BTN_RIGHT, 0); }, 10s));
    EXPECT_TRUE(turtle_->service.isActive());
}

// The same over fake devices, which run everywhere: the mouse a FIFO, uinput a plain file.
class EvdevEventTapOverFakesTest : public ::testing::Test {
  protected:
    // Ctrl+Z in the terminal; back once the program runs again. (In an orphaned process group
    // the kernel drops the stop itself, after the handler ran, and nothing waits for it.)
    static void stopFromTheTerminal() {
        const auto pid = std::to_string(::getpid());
        test::ChildProcess resume("/bin/sh",
                                  {"-c", "until grep -q '^State:.*T' /proc/" + pid +
                                             "/status; do sleep 0.01; done; kill -CONT " + pid});
        ::raise(SIGTSTP);
        resume.signal(SIGKILL);
    }

    test::TempHome home_;
    EpollRunLoop loop_;
    test::FakeMouse mouse_{home_.root() / "input"};
    test::FakeUinput uinput_{home_.root() / "uinput"};
};

// The test holds the loop as a hung application would: the guard gives the mouse back from its
// own thread, and the turtle hears that its tap was switched off once the loop answers again.
TEST_F(EvdevEventTapOverFakesTest, AStalledLoopGivesTheMouseBackAndTheTurtleCanComeBack) {
    std::promise<void> givenBack;
    auto given = givenBack.get_future();
    EvdevEventTap input(loop_, nullptr, {home_.root() / "input", uinput_.path()},
                        {{200ms, 20ms}, [&](Duration) { givenBack.set_value(); }});
    test::TurtleOverTap turtle(loop_, input);
    ASSERT_TRUE(turtle.service.activate(TurtleIntensity::medium));  // pointer ÷8
    EXPECT_TRUE(mouse_.grabbed());
    ASSERT_TRUE(mouse_.button(BTN_LEFT, true));
    ASSERT_TRUE(loop_.runUntil([&] { return uinput_.lastButtonIs(BTN_LEFT, 1); }, 10s));

    ASSERT_EQ(given.wait_for(30s), std::future_status::ready);
    EXPECT_FALSE(mouse_.grabbed());
    EXPECT_TRUE(uinput_.lastButtonIs(BTN_LEFT, 0));
    ASSERT_TRUE(mouse_.button(BTN_LEFT, false));
    ASSERT_TRUE(mouse_.move(40, 0));  // the session's now

    sim::ScopedLogCapture capture;
    ASSERT_TRUE(loop_.runUntil([&] { return !turtle.service.isActive(); }, 10s));
    EXPECT_TRUE(capture->contains(
        "Tortue: tap désactivé par timeout système - récupération via le polling"));
    EXPECT_EQ(uinput_.total(EV_REL, REL_X), 0);

    ASSERT_TRUE(turtle.service.activate(TurtleIntensity::medium));
    EXPECT_TRUE(mouse_.grabbed());
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(mouse_.move(1, 0));
    }
    ASSERT_TRUE(loop_.runUntil([&] { return uinput_.total(EV_REL, REL_X) == 1; }, 10s));
}

// Ctrl+Z in the terminal: the mouse is the session's before the program stops, the button it
// held is up, and the turtle hears that its tap was switched off once the program runs again.
TEST_F(EvdevEventTapOverFakesTest, AStopFromTheTerminalGivesTheMouseBackFirst) {
    EvdevEventTap input(loop_, nullptr, {home_.root() / "input", uinput_.path()});
    test::TurtleOverTap turtle(loop_, input);
    ASSERT_TRUE(turtle.service.activate(TurtleIntensity::medium));
    ASSERT_TRUE(mouse_.grabbed());
    ASSERT_TRUE(mouse_.button(BTN_LEFT, true));
    ASSERT_TRUE(loop_.runUntil([&] { return uinput_.lastButtonIs(BTN_LEFT, 1); }, 10s));
    stopFromTheTerminal();
    // Running again, before the loop has turned once.
    EXPECT_FALSE(mouse_.grabbed());
    EXPECT_TRUE(uinput_.lastButtonIs(BTN_LEFT, 0));
    EXPECT_TRUE(loop_.runUntil([&] { return !turtle.service.isActive(); }, 10s));
}

// The number an unplugged mouse had may name another program's device by the next Ctrl+Z: the
// stop must not let go of that one's grab.
TEST_F(EvdevEventTapOverFakesTest, AStopLeavesAloneWhatTheNumberOfAnUnpluggedMouseNamesNow) {
    const auto node = home_.root() / "input" / "event0";
    const auto writers = descriptorsOpenOn(node);
    EvdevEventTap input(loop_, nullptr, {home_.root() / "input", uinput_.path()});
    test::TurtleOverTap turtle(loop_, input);
    ASSERT_TRUE(turtle.service.activate(TurtleIntensity::medium));
    std::vector<int> tapped;
    std::ranges::set_difference(descriptorsOpenOn(node), writers, std::back_inserter(tapped));
    ASSERT_EQ(tapped.size(), 1u);
    const int number = tapped.front();
    ASSERT_TRUE(mouse_.unplug());
    ASSERT_TRUE(loop_.runUntil([&] { return descriptorsOpenOn(node) == writers; }, 10s));

    test::FakeMouse other(home_.root() / "other");
    FileDescriptor reused(
        ::open((home_.root() / "other" / "event0").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (reused.get() != number) {
        ASSERT_EQ(::dup2(reused.get(), number), number);
        reused.reset(number);
    }
    ASSERT_EQ(::ioctl(reused.get(), EVIOCGRAB, 1), 0);
    stopFromTheTerminal();
    EXPECT_TRUE(other.grabbed());
}

}  // namespace
}  // namespace olvane::platform::os
