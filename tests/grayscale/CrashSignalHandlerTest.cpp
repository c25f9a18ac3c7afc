// The crash handlers for real: a forked child turns the simulated display grey, then dies of a
// fatal signal; the parent reads the display file the child left.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "grayscale/FramebufferService.h"
#include "platform/sim/SimulatedDisplayDevice.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using platform::sim::SimulatedDisplayDevice;
using platform::sim::SimulatedDisplayFile;

// The child's wait status.
int runInChild(const std::function<void()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_DUMPABLE, 0);  // no core file
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

class CrashSignalHandlerTest : public ::testing::Test {
  protected:
    std::uint32_t displayMode() {
        const auto state = SimulatedDisplayFile::read(file_);
        return state ? state->mode(SimulatedDisplayFile::kDefaultDisplayId).value_or(99) : 99;
    }

    test::TempHome home_;
    std::filesystem::path file_ = SimulatedDisplayFile::defaultPath(home_.paths());
};

TEST_F(CrashSignalHandlerTest, FatalSignalWithGrayscaleOnRestoresColourAndDiesOfTheSameSignal) {
    for (const int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGILL, SIGFPE}) {
        const int status = runInChild([&] {
            SimulatedDisplayDevice device(file_);
            FramebufferService service(device);
            FramebufferService::installSignalHandlers();
            if (!service.probe() || !service.enableGrayscale() || displayMode() != 2) {
                ::_exit(3);
            }
            ::raise(sig);
            ::_exit(4);  // survived
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << sig << ", status " << status;
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_EQ(displayMode(), 0u) << "signal " << sig;
    }
}

TEST_F(CrashSignalHandlerTest, RealSegmentationFaultRestoresColour) {
    const int status = runInChild([&] {
        SimulatedDisplayDevice device(file_);
        FramebufferService service(device);
        FramebufferService::installSignalHandlers();
        if (!service.probe() || !service.enableGrayscale()) {
            ::_exit(3);
        }
        void* page = ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        *static_cast<volatile int*>(page) = 1;
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    EXPECT_EQ(displayMode(), 0u);
}

TEST_F(CrashSignalHandlerTest, GuardOffWritesNothing) {
    // After disableGrayscale() and after forceDisable(), the handler leaves the display alone
    // (here turned grey behind the service's back).
    for (const bool force : {false, true}) {
        const int status = runInChild([&] {
            SimulatedDisplayDevice device(file_);
            FramebufferService service(device);
            FramebufferService::installSignalHandlers();
            if (!service.probe() || !service.enableGrayscale()) {
                ::_exit(3);
            }
            force ? service.forceDisable() : void(service.disableGrayscale());
            auto grey = SimulatedDisplayFile::read(file_);
            grey->setMode(SimulatedDisplayFile::kDefaultDisplayId, 2);
            if (!grey->write(file_)) {
                ::_exit(5);
            }
            ::raise(SIGSEGV);
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), SIGSEGV);
        EXPECT_EQ(displayMode(), 2u) << (force ? "forceDisable" : "disableGrayscale");
    }
}

}  // namespace
}  // namespace olvane
