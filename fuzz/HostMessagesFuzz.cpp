// Drives the host's reader and dispatcher over arbitrary bytes. Checks that nothing crashes,
// that the output is made of whole frames the browser accepts, and that no file but the fixed
// ones ever appears in the data folder.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchFolder.h"
#include "host/Frame.h"
#include "host/FrameReader.h"
#include "host/FrameWriter.h"
#include "host/Host.h"
#include "host/MessageDispatcher.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimFileWatcher.h"

namespace {

namespace fs = std::filesystem;
using namespace olvane;
using fuzz::check;

const std::set<std::string> kFixedNames = {
    "rules.json",       "grayscale-command.json", "fullscreen-command.json", "firefox-site.json",
    "chrome-site.json", "firefox-health.json",    "chrome-health.json",
};
const std::set<std::string> kOutgoingTypes = {"RULES", "PONG", "GRAYSCALE_COMMAND_ACK", "HEARTBEAT",
                                              "ERROR"};

fs::path dataFolder() {
    return fs::path(fuzz::scratchFolder()) / "OlvaneMac";
}

void checkWholeFrames(std::string_view out) {
    while (!out.empty()) {
        check(out.size() >= host::kFrameHeaderSize);
        const auto length = host::decodeLength(out.data());
        check(length <= host::kMaxOutgoingPayload && out.size() - host::kFrameHeaderSize >= length);
        const auto message = json::parseObject(out.substr(host::kFrameHeaderSize, length));
        check(message && kOutgoingTypes.count(host::MessageDispatcher::typeOf(*message)) == 1);
        out.remove_prefix(host::kFrameHeaderSize + length);
    }
}

// Then clears what the host wrote, for the next input; rules.json is the application's.
void checkOnlyFixedNamesAndClear() {
    for (const auto& entry : fs::directory_iterator(dataFolder())) {
        const auto name = entry.path().filename().string();
        check(kFixedNames.count(name) == 1);
        if (name != exchange::kRulesFile) {
            std::error_code ec;
            fs::remove(entry.path(), ec);
        }
    }
}

}  // namespace

// Input: one byte of options (low bits: read chunk size; high bit: a rules file follows, its
// length in the next two bytes), then the bytes of standard input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto options = static_cast<std::uint8_t>(input[0]);
    input.remove_prefix(1);
    const std::size_t chunk = (options & 0x3f) + 1;

    // Every input brings its own rules file or the empty one, so that none runs on what an
    // earlier one left.
    const auto folder = dataFolder();
    std::string_view rules = "{}";
    if ((options & 0x80) && input.size() >= 2) {
        const std::size_t length =
            std::min<std::size_t>(input.size() - 2, static_cast<std::uint8_t>(input[0]) |
                                                        static_cast<std::uint8_t>(input[1]) << 8);
        rules = input.substr(2, length);
        input.remove_prefix(2 + length);
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    static_cast<void>(platform::writeFileInPlace(folder / exchange::kRulesFile, rules));

    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher watcher;
    const host::HostLog log([](std::string_view) {});
    host::OutputGate gate;
    std::string out;
    host::FrameWriter writer(
        gate, [&out](std::string_view bytes) { out.append(bytes); }, log);
    host::Host host({loop, watcher, loop.clock(), log, gate, writer}, folder);
    host.startRulesWatcher();
    host.startHeartbeat();

    host::FrameReader reader(
        [input, chunk](char* buffer, std::size_t capacity) mutable -> std::ptrdiff_t {
            const auto n = std::min({capacity, chunk, input.size()});
            input.copy(buffer, n);
            input.remove_prefix(n);
            return static_cast<std::ptrdiff_t>(n);
        },
        log);
    while (auto message = reader.readMessage()) {
        host.handle(host::MessageDispatcher::typeOf(*message), *message);
        watcher.fire(folder / "rules.json", platform::FileEvent::Write);
        loop.advanceSeconds(0.06);
    }
    loop.advanceSeconds(20);

    checkWholeFrames(out);
    checkOnlyFixedNamesAndClear();
    return 0;
}
