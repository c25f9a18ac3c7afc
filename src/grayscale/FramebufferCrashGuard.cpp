#include "grayscale/FramebufferCrashGuard.h"

#include <signal.h>

#include <cerrno>
#include <cstdlib>

namespace olvane {

static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<platform::SignalSafeSetMode>::is_always_lock_free);
static_assert(std::atomic<platform::RemapConnection>::is_always_lock_free);

std::atomic<bool> signalGrayscaleActive{false};
std::atomic<platform::SignalSafeSetMode> signalSetModeFn{nullptr};
std::atomic<platform::RemapConnection> signalConnection{0};

namespace {

constexpr int kGuardedSignals[] = {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE};

void ensureAlternateStack() {
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) {
        return;  // someone (a sanitizer, the runtime) already gave this thread one
    }
    // Kept for the life of the process, like the handlers.
    static constexpr std::size_t kSize = 64 * 1024;
    stack_t stack{};
    stack.ss_sp = std::malloc(kSize);
    stack.ss_size = kSize;
    if (stack.ss_sp && ::sigaltstack(&stack, nullptr) != 0) {
        std::free(stack.ss_sp);
    }
}

}  // namespace

void framebufferSignalHandler(int signalNumber) {
    const int savedErrno = errno;
    if (signalGrayscaleActive.load()) {
        const auto setMode = signalSetModeFn.load();
        const auto connection = signalConnection.load();
        if (setMode && connection != 0) {
            setMode(connection, platform::kRemapModeColour);
        }
    }
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    ::sigaction(signalNumber, &defaultAction, nullptr);
    errno = savedErrno;
    ::raise(signalNumber);
}

void installFramebufferSignalHandlers() {
    ensureAlternateStack();
    struct sigaction action {};
    action.sa_handler = &framebufferSignalHandler;
    sigemptyset(&action.sa_mask);
    // SA_NODEFER: the re-raised signal ends the process inside the handler.
    action.sa_flags = SA_ONSTACK | SA_NODEFER;
    for (int signalNumber : kGuardedSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

}  // namespace olvane
