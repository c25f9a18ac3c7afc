#include "platform/linux/RandrCtmDevice.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/linux/X11Randr.h"

namespace olvane::platform::os {
namespace {

constexpr std::size_t kCtmItems = std::tuple_size_v<CtmWords>;
// One ChangeOutputProperty request: a 24-byte header, then the 18 words.
constexpr std::size_t kRequestBytes = 24 + kCtmItems * 4;

const CtmWords& grayscaleWords() {
    static const CtmWords words = encodeCtm(kGrayscaleMatrix);
    return words;
}

const CtmWords& identityWords() {
    static const CtmWords words = encodeCtm(kIdentityMatrix);
    return words;
}

template <typename T>
void put(std::array<std::uint8_t, kRequestBytes>& request, std::size_t offset, T value) {
    std::memcpy(request.data() + offset, &value, sizeof value);
}

// The bytes of RRChangeOutputProperty(output, CTM, INTEGER, 32, Replace, identity), in the
// client's byte order, which XCB always uses.
std::array<std::uint8_t, kRequestBytes> identityRequest(std::uint8_t majorOpcode,
                                                        xcb_randr_output_t output, xcb_atom_t ctm) {
    std::array<std::uint8_t, kRequestBytes> request{};
    request[0] = majorOpcode;
    request[1] = XCB_RANDR_CHANGE_OUTPUT_PROPERTY;
    put(request, 2, static_cast<std::uint16_t>(kRequestBytes / 4));
    put(request, 4, static_cast<std::uint32_t>(output));
    put(request, 8, static_cast<std::uint32_t>(ctm));
    put(request, 12, static_cast<std::uint32_t>(XCB_ATOM_INTEGER));
    request[16] = 32;
    request[17] = XCB_PROP_MODE_REPLACE;
    put(request, 20, static_cast<std::uint32_t>(kCtmItems));
    std::memcpy(request.data() + 24, identityWords().data(), kCtmItems * 4);
    return request;
}

}  // namespace

// An open connection. With a crash line, it keeps a second X connection of its own, used only
// by the crash handlers, which write ready-made identity requests on its socket: no allocation,
// no lock, and a stream that no one else writes, so it always stands between two requests.
struct RandrCtmDevice::Connection {
    static constexpr std::size_t kMaxOutputs = 16;

    std::unique_ptr<X11Connection> resetLine;
    Handle resetLineEvents;
    int fd = -1;
    std::vector<xcb_randr_output_t> prepared;
    std::array<std::array<std::uint8_t, kRequestBytes>, kMaxOutputs> requests{};
    std::atomic<std::size_t> requestCount{0};

    // Adds the requests of outputs not prepared yet; a handler sees only whole requests.
    void prepare(const std::vector<Output>& outputs, std::uint8_t majorOpcode, xcb_atom_t ctm) {
        for (const auto& output : outputs) {
            const std::size_t count = requestCount.load();
            if (count == kMaxOutputs ||
                std::find(prepared.begin(), prepared.end(), output.id) != prepared.end()) {
                continue;
            }
            requests[count] = identityRequest(majorOpcode, output.id, ctm);
            prepared.push_back(output.id);
            requestCount.store(count + 1);
        }
    }
};

RandrCtmDevice::RandrCtmDevice(RunLoop* loop, std::string display, CrashLine crashLine)
    : loop_(loop), display_(std::move(display)), crashLine_(crashLine) {}

RandrCtmDevice::~RandrCtmDevice() {
    events_.cancel();
}

std::vector<std::string> RandrCtmDevice::coveredOutputNames() {
    if (load().outcome != RemapLoadResult::Outcome::Loaded) {
        return {};
    }
    std::vector<std::string> names;
    for (const auto& output : coveredOutputs()) {
        names.push_back(output.name);
    }
    unload();
    return names;
}

RemapLoadResult RandrCtmDevice::load() {
    if (loads_ > 0 && x_ && x_->isUsable()) {
        ++loads_;
        return RemapLoadResult::loaded(true);
    }
    auto x = X11Connection::open(display_);
    if (!x) {
        return RemapLoadResult::frameworkMissing("pas de serveur X joignable");
    }
    if (!hasRandr(*x)) {
        return RemapLoadResult::frameworkMissing("extension RandR 1.3 absente");
    }
    x_ = std::move(x);
    ctmAtom_ = x_->atom("CTM");
    randrFirstEvent_ = x_->extensionFirstEvent(xcb_randr_id);
    ++loads_;
    followOutputChanges();
    return RemapLoadResult::loaded(true);
}

void RandrCtmDevice::unload() {
    if (loads_ == 0 || --loads_ > 0) {
        return;
    }
    events_.cancel();
    x_.reset();
    // A later load may reach another server, whose outputs this mode was never written on.
    currentMode_.reset();
    written_.clear();
}

std::optional<std::vector<FramebufferServiceEntry>> RandrCtmDevice::matchServices() {
    if (!x_) {
        return std::nullopt;
    }
    std::vector<FramebufferServiceEntry> services;
    if (!coveredOutputs().empty()) {
        // Every output is the user's screen here: none counts as external.
        services.push_back({kService, ExternalProperty::Absent});
    }
    return services;
}

RemapStatus RandrCtmDevice::open(const std::string& service, RemapConnection& connection) {
    if (!x_) {
        return remap::kBadArgument;
    }
    if (service != kService) {
        return remap::kNotFound;
    }
    const auto outputs = coveredOutputs();
    if (outputs.empty()) {
        return remap::kNotFound;
    }
    const auto opcode = x_->extensionMajorOpcode(xcb_randr_id);
    if (!opcode) {
        return remap::kFailed;
    }
    auto opened = std::make_unique<Connection>();
    if (crashLine_ == CrashLine::Ready && !openCrashLine(*opened)) {
        return remap::kFailed;
    }
    opened->prepare(outputs, *opcode, ctmAtom_);
    connection = reinterpret_cast<RemapConnection>(opened.get());
    connections_.push_back(std::move(opened));
    return remap::kSuccess;
}

bool RandrCtmDevice::openCrashLine(Connection& opened) {
    opened.resetLine = X11Connection::open(display_);
    if (!opened.resetLine) {
        return false;
    }
    opened.fd = xcb_get_file_descriptor(opened.resetLine->get());
    if (loop_) {
        // Only the server's own events come on it (a new keyboard mapping): read them away.
        opened.resetLineEvents =
            opened.resetLine->watchEvents(*loop_, [](const xcb_generic_event_t&) {});
    }
    return true;
}

void RandrCtmDevice::close(RemapConnection connection) {
    std::erase_if(connections_, [connection](const auto& open) {
        return reinterpret_cast<RemapConnection>(open.get()) == connection;
    });
}

RemapStatus RandrCtmDevice::setMode(RemapConnection connection, std::uint32_t mode) {
    auto* open = x_ ? find(connection) : nullptr;
    if (!open) {
        return remap::kBadArgument;
    }
    if (mode != kRemapModeColour && mode != kRemapModeGrayscale) {
        return remap::kUnsupported;
    }
    const auto outcome =
        writeOutputs(*open, mode == kRemapModeGrayscale ? grayscaleWords() : identityWords());
    if (outcome.status != remap::kSuccess) {
        return outcome.status;
    }
    if (outcome.covered.empty()) {
        return remap::kNotFound;
    }
    currentMode_ = mode;
    written_ = outcome.covered;
    return remap::kSuccess;
}

RemapStatus RandrCtmDevice::getMode(RemapConnection connection, std::uint32_t& mode) {
    if (!x_ || !find(connection)) {
        return remap::kBadArgument;
    }
    const auto outputs = coveredOutputs();
    if (outputs.empty()) {
        return remap::kNotFound;
    }
    mode = kRemapModeGrayscale;
    for (const auto& output : outputs) {
        if (readCtm(output.id) != grayscaleWords()) {
            mode = kRemapModeColour;
        }
    }
    return remap::kSuccess;
}

RemapStatus RandrCtmDevice::resetOwnGrayscale(RemapConnection connection, long& reset) {
    reset = 0;
    auto* open = x_ ? find(connection) : nullptr;
    if (!open) {
        return remap::kBadArgument;
    }
    const auto outcome = writeOutputs(*open, identityWords(), &grayscaleWords());
    reset = outcome.written;
    return outcome.status;
}

RandrCtmDevice::WriteOutcome RandrCtmDevice::writeOutputs(Connection& open, const CtmWords& words,
                                                          const CtmWords* onlyOver) {
    // The outputs the connection knows are written before any other question to the server:
    // that is what the user sees change. Those that must hold `onlyOver` are all asked at once.
    const auto first = onlyOver ? outputsHolding(open.prepared, *onlyOver) : open.prepared;
    std::vector<std::pair<xcb_randr_output_t, xcb_void_cookie_t>> sent;
    for (const auto output : first) {
        sent.emplace_back(output, sendCtm(output, words));
    }
    x_->flush();
    // Outputs found since are written next.
    WriteOutcome outcome;
    const auto outputs = coveredOutputs();
    for (const auto& output : outputs) {
        outcome.covered.push_back(output.id);
        const bool known =
            std::find(open.prepared.begin(), open.prepared.end(), output.id) != open.prepared.end();
        if (!known && (!onlyOver || readCtm(output.id) == *onlyOver)) {
            sent.emplace_back(output.id, sendCtm(output.id, words));
        }
    }
    if (const auto opcode = x_->extensionMajorOpcode(xcb_randr_id)) {
        open.prepare(outputs, *opcode, ctmAtom_);
    }
    bool written = true;
    for (const auto& [output, cookie] : sent) {
        const XcbPtr<xcb_generic_error_t> error(xcb_request_check(x_->get(), cookie));
        const bool covered = std::find(outcome.covered.begin(), outcome.covered.end(), output) !=
                             outcome.covered.end();
        if (!error) {
            ++outcome.written;
        }
        written = !(error && covered) && written;
    }
    // A server that went away answers nothing, errors included.
    if (!x_->isUsable()) {
        outcome.status = remap::kFailed;
        outcome.written = 0;
    } else if (!written) {
        outcome.status = remap::kFailed;
    }
    return outcome;
}

SignalSafeSetMode RandrCtmDevice::signalSafeSetMode() const {
    return &RandrCtmDevice::resetFromSignal;
}

RemapStatus RandrCtmDevice::resetFromSignal(RemapConnection connection, std::uint32_t mode) {
    auto* open = reinterpret_cast<Connection*>(connection);
    if (!open || mode != kRemapModeColour) {
        return remap::kUnsupported;
    }
    const std::size_t count = open->requestCount.load();
    for (std::size_t i = 0; i < count; ++i) {
        const auto& request = open->requests[i];
        std::size_t sent = 0;
        while (sent < request.size()) {
            // A server gone must not end the process with SIGPIPE instead of its own signal.
            const ssize_t n =
                ::send(open->fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return remap::kFailed;
            }
            sent += static_cast<std::size_t>(n);
        }
    }
    return remap::kSuccess;
}

std::vector<RandrCtmDevice::Output> RandrCtmDevice::coveredOutputs() {
    std::vector<Output> covered;
    if (!x_ || ctmAtom_ == XCB_ATOM_NONE) {
        return covered;
    }
    for (const auto& output : randrOutputs(*x_)) {
        if (output.connected && readCtm(output.id)) {
            covered.push_back({output.id, output.name});
        }
    }
    x_->deliverQueuedEventsSoon();
    return covered;
}

std::optional<CtmWords> RandrCtmDevice::readCtm(xcb_randr_output_t output) {
    return ctmOf(askCtm(output));
}

std::vector<xcb_randr_output_t> RandrCtmDevice::outputsHolding(
    const std::vector<xcb_randr_output_t>& outputs, const CtmWords& words) {
    std::vector<xcb_randr_get_output_property_cookie_t> asked;
    for (const auto output : outputs) {
        asked.push_back(askCtm(output));
    }
    std::vector<xcb_randr_output_t> holding;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (ctmOf(asked[i]) == words) {
            holding.push_back(outputs[i]);
        }
    }
    return holding;
}

xcb_randr_get_output_property_cookie_t RandrCtmDevice::askCtm(xcb_randr_output_t output) {
    return xcb_randr_get_output_property(x_->get(), output, ctmAtom_, XCB_ATOM_ANY, 0, kCtmItems, 0,
                                         0);
}

std::optional<CtmWords> RandrCtmDevice::ctmOf(xcb_randr_get_output_property_cookie_t cookie) {
    const XcbPtr<xcb_randr_get_output_property_reply_t> reply(
        xcb_randr_get_output_property_reply(x_->get(), cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    CtmWords words{};
    if (reply->format == 32 && reply->num_items == kCtmItems) {
        std::memcpy(words.data(), xcb_randr_get_output_property_data(reply.get()), sizeof(words));
    }
    return words;
}

xcb_void_cookie_t RandrCtmDevice::sendCtm(xcb_randr_output_t output, const CtmWords& words) {
    return xcb_randr_change_output_property_checked(x_->get(), output, ctmAtom_, XCB_ATOM_INTEGER,
                                                    32, XCB_PROP_MODE_REPLACE, kCtmItems,
                                                    words.data());
}

bool RandrCtmDevice::writeCtm(xcb_randr_output_t output, const CtmWords& words) {
    const XcbPtr<xcb_generic_error_t> error(xcb_request_check(x_->get(), sendCtm(output, words)));
    return !error && x_->isUsable();
}

RandrCtmDevice::Connection* RandrCtmDevice::find(RemapConnection connection) const {
    for (const auto& open : connections_) {
        if (reinterpret_cast<RemapConnection>(open.get()) == connection) {
            return open.get();
        }
    }
    return nullptr;
}

void RandrCtmDevice::followOutputChanges() {
    if (!loop_ || !randrFirstEvent_) {
        return;
    }
    xcb_randr_select_input(
        x_->get(), x_->root(),
        XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_PROPERTY);
    x_->flush();
    const std::uint8_t notify = static_cast<std::uint8_t>(*randrFirstEvent_ + XCB_RANDR_NOTIFY);
    events_ = x_->watchEvents(*loop_, [this, notify](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) == notify) {
            applyModeToNewOutputs();
        }
    });
}

void RandrCtmDevice::applyModeToNewOutputs() {
    if (!currentMode_ || connections_.empty()) {
        return;
    }
    const auto& words = *currentMode_ == kRemapModeGrayscale ? grayscaleWords() : identityWords();
    const auto outputs = coveredOutputs();
    const auto opcode = x_->extensionMajorOpcode(xcb_randr_id);
    std::vector<xcb_randr_output_t> covered;
    for (const auto& output : outputs) {
        // Only outputs that came since: one another program set stays as it set it.
        if (std::find(written_.begin(), written_.end(), output.id) == written_.end()) {
            writeCtm(output.id, words);
        }
        covered.push_back(output.id);
    }
    written_ = std::move(covered);
    for (auto& open : connections_) {
        open->prepare(outputs, opcode.value_or(0), ctmAtom_);
    }
}

}  // namespace olvane::platform::os
