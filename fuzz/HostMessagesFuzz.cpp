// Drives the host's reader and dispatcher over arbitrary bytes. Checks that nothing crashes,
// that the output is made of whole frames the browser accepts, and that no file but the fixed
// ones ever appears in the data folder.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "host/Frame.h"
#include "host/FrameReader.h"
#include "host/FrameWriter.h"
#include "host/Host.h"
#include "host/MessageDispatcher.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryFileSystem.h"
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

const fs::path kDataFolder = "/OlvaneMac";

// Reads a JSON text without building it, keeping the string its object's last "type" member
// holds (as the browser would read it).
struct TypeFinder final : nlohmann::json_sax<Json> {
    int depth = 0;
    bool started = false;
    bool isObject = false;
    bool nextIsType = false;
    std::string type;

    bool value(bool startsObject = false) {
        isObject = started ? isObject : startsObject;
        started = true;
        if (nextIsType) {
            type.clear();
        }
        nextIsType = false;
        return true;
    }
    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }
    bool string(string_t& text) override {
        if (nextIsType) {
            value();
            type = text;
            return true;
        }
        return value();
    }
    bool start_object(std::size_t) override {
        ++depth;
        return value(true);
    }
    bool key(string_t& name) override {
        nextIsType = depth == 1 && name == "type";
        return true;
    }
    bool end_object() override { return --depth, true; }
    bool start_array(std::size_t) override { return ++depth, value(); }
    bool end_array() override { return --depth, true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }
};

void checkWholeFrames(std::string_view out) {
    while (!out.empty()) {
        check(out.size() >= host::kFrameHeaderSize);
        const auto length = host::decodeLength(out.data());
        check(length <= host::kMaxOutgoingPayload && out.size() - host::kFrameHeaderSize >= length);
        const auto payload = out.substr(host::kFrameHeaderSize, length);
        TypeFinder finder;
        check(payload.find('\0') == std::string_view::npos &&
              Json::sax_parse(payload.begin(), payload.end(), &finder));
        check(finder.isObject && kOutgoingTypes.count(finder.type) == 1);
        out.remove_prefix(host::kFrameHeaderSize + length);
    }
}

void checkOnlyFixedNames(const platform::sim::MemoryFileSystem& files) {
    for (const auto& [path, file] : files.files()) {
        const fs::path written(path);
        check(written.parent_path() == kDataFolder &&
              kFixedNames.count(written.filename().string()) == 1);
    }
}

}  // namespace

// Input: one byte of options, then the bytes of standard input. The options' low five bits give
// the read chunk size; 0x20: the rules file is a minute old when the host starts (else just
// written); 0x40: the input ends with a heartbeat; 0x80: a rules file follows, its length in the
// next two bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto options = static_cast<std::uint8_t>(input[0]);
    input.remove_prefix(1);
    const std::size_t chunk = (options & 0x1f) + 1;

    // Every input brings its own rules file or the empty one.
    std::string_view rules = "{}";
    if ((options & 0x80) && input.size() >= 2) {
        const std::size_t length =
            std::min<std::size_t>(input.size() - 2, static_cast<std::uint8_t>(input[0]) |
                                                        static_cast<std::uint8_t>(input[1]) << 8);
        rules = input.substr(2, length);
        input.remove_prefix(2 + length);
    }
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryFileSystem files(loop.clock());
    check(files.ensurePrivateFolder(kDataFolder).ok());
    check(files.writeInPlace(kDataFolder / exchange::kRulesFile, rules).ok());
    if (options & 0x20) {
        loop.advanceSeconds(60);
    }
    platform::sim::SimFileWatcher watcher;
    const host::HostLog log([](std::string_view) {});
    host::OutputGate gate;
    std::string out;
    host::FrameWriter writer(
        gate, [&out](std::string_view bytes) { out.append(bytes); }, log);
    host::Host host({loop, watcher, files, loop.clock(), log, gate, writer}, kDataFolder);
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
        watcher.fire(kDataFolder / exchange::kRulesFile, platform::FileEvent::Write);
        loop.advanceSeconds(0.06);
    }
    loop.advanceSeconds((options & 0x40) ? host::Heartbeat::kIntervalSeconds
                                         : host::RulesPusher::kDebounceSeconds);

    checkWholeFrames(out);
    checkOnlyFixedNames(files);
    return 0;
}
