// olvanemac-host: Chrome and Firefox start it for the extension and talk to it over standard
// input and output. Their arguments (the caller's origin, or the manifest path and the add-on
// id) tell it nothing it needs.
#include <malloc.h>
#include <unistd.h>

#include <csignal>

#include "host/ByteStreams.h"
#include "host/FrameReader.h"
#include "host/FrameWriter.h"
#include "host/Host.h"
#include "host/ReaderThread.h"
#include "platform/Paths.h"
#include "platform/linux/DiskFileSystem.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/linux/SystemClock.h"

int main() {
    using namespace olvane;
    // A closed port shows as failed writes, which are ignored; the end of input ends the host.
    std::signal(SIGPIPE, SIG_IGN);
    // One heap for both threads: the reader's own arena would cost start-up time and memory.
    mallopt(M_ARENA_MAX, 1);
    // Rules frames of a few hundred kilobytes come and go: keep their pages rather than giving
    // them back and faulting them in again for the next.
    mallopt(M_TRIM_THRESHOLD, 4 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);

    const host::HostLog log;
    platform::os::EpollRunLoop loop;
    if (!loop.valid()) {
        log.error("main: boucle d’événements indisponible");
        return 1;
    }
    platform::os::InotifyFileWatcher watcher(loop);
    platform::os::DiskFileSystem files;
    const platform::os::SystemClock clock;
    host::OutputGate gate;
    host::FrameWriter writer(gate, host::writeToDescriptor(STDOUT_FILENO), log);
    host::Host host({loop, watcher, files, clock, log, gate, writer},
                    platform::Paths::fromProcessEnvironment().dataFolder());

    // The watch (and the seed file) is in place before anything is read, so an input that ends
    // at once cannot cut the seed short.
    host.startRulesWatcher();
    host::startReaderThread(
        loop, host::FrameReader(host::readFromDescriptor(STDIN_FILENO), log),
        [&host](const std::string& type, const Json& message) { host.handle(type, message); },
        [&host](const std::string& type) { return host.answerFromAnyThread(type); },
        [&gate] { gate.endProcess(0); });
    host.startHeartbeat();
    loop.run();
    return 0;
}
