#pragma once

#include <atomic>
#include <cstdint>

#include "platform/ColorRemapDevice.h"

// What the crash handlers may read: three machine words, no lock, no allocation. The function
// and the connection are stored before the flag ever turns true, so a handler that sees the flag
// also sees a usable pair.
namespace olvane {

extern std::atomic<bool> signalGrayscaleActive;
extern std::atomic<platform::SignalSafeSetMode> signalSetModeFn;
extern std::atomic<platform::RemapConnection> signalConnection;

// Puts mode 0 back when grayscale is on through the framebuffer, then lets the signal take its
// default course.
void framebufferSignalHandler(int signalNumber);

// SIGSEGV, SIGBUS, SIGABRT, SIGILL and SIGFPE, in that order, with an alternate stack for the
// calling thread so that a stack overflow still reaches the handler.
void installFramebufferSignalHandlers();

}  // namespace olvane
