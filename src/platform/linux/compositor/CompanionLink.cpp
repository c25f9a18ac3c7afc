#include "platform/linux/compositor/CompanionLink.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <chrono>

#include "platform/Json.h"

namespace olvane::platform::os {

namespace {

using namespace std::chrono_literals;

// Answered before any caller's own timeout runs out (25 s for Qt's, for KWin's scripts).
constexpr auto kHeartbeat = 15s;
// A companion asks again at once once answered: one that has not for that long stopped (a KWin
// script that gave OlvaneMac up while it did not answer, or was unloaded).
constexpr auto kSilence = 30s;
constexpr int kProtocol = 1;
constexpr const char* kAccessDenied = "org.freedesktop.DBus.Error.AccessDenied";
constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";

// The name the compositor of a companion owns on the bus.
const char* compositorBusName(const std::string& compositor) {
    if (compositor == "gnome-shell") {
        return "org.gnome.Shell";
    }
    if (compositor == "kwin") {
        return "org.kde.KWin";
    }
    return nullptr;
}

const char* stringArgument(sd_bus_message* call) {
    const char* text = nullptr;
    return sd_bus_message_read(call, "s", &text) >= 0 ? text : nullptr;
}

int refuse(sd_bus_message* call, const char* name, const char* message) {
    return sd_bus_reply_method_errorf(call, name, "%s", message);
}

}  // namespace

// A call answered later: the message is kept until then.
struct CompanionLink::Call {
    explicit Call(sd_bus_message* call) : message(sd_bus_message_ref(call)) {}
    ~Call() { sd_bus_message_unref(message); }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    sd_bus_message* message;
};

std::unique_ptr<CompanionLink> CompanionLink::create(RunLoop& loop, AsyncBus& bus) {
    std::unique_ptr<CompanionLink> link(new CompanionLink(loop, bus));
    if (!link->serve()) {
        return nullptr;
    }
    return link;
}

CompanionLink::CompanionLink(RunLoop& loop, AsyncBus& bus) : loop_(loop), bus_(bus) {}

CompanionLink::~CompanionLink() {
    if (waiting_) {
        sd_bus_reply_method_return(waiting_->message, "s", "[]");
        bus_.flush();
    }
    if (bus_.connected()) {
        sd_bus_release_name(bus_.get(), kBusName);
    }
}

bool CompanionLink::serve() {
    static constexpr sd_bus_message_handler_t dispatch = [](sd_bus_message* call, void* link,
                                                            sd_bus_error*) {
        return static_cast<CompanionLink*>(link)->handle(call);
    };
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Attach", "s", "s", dispatch, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("Detach", "", "", dispatch, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("Report", "s", "", dispatch, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("Pointer", "s", "", dispatch, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("Requests", "", "s", dispatch, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    sd_bus_slot* slot = nullptr;
    if (sd_bus_add_object_vtable(bus_.get(), &slot, kObjectPath, kInterface, vtable, this) < 0) {
        return false;
    }
    object_ = bus_.keep(slot);
    // Never queued behind, nor taken over by, another program that wants the name.
    return sd_bus_request_name(bus_.get(), kBusName, 0) >= 0;
}

int CompanionLink::handle(sd_bus_message* call) {
    const std::string member = sd_bus_message_get_member(call);
    if (member == "Attach") {
        attach(call);
        return 1;
    }
    if (!fromCompanion(call)) {
        return refuse(call, kAccessDenied, "No companion attached from this connection");
    }
    if (member == "Detach") {
        detach();
        return sd_bus_reply_method_return(call, "");
    }
    if (member == "Report") {
        report(call);
        return 1;
    }
    if (member == "Pointer") {
        pointer(call);
        return 1;
    }
    takeRequestsCall(call);
    return 1;
}

void CompanionLink::attach(sd_bus_message* call) {
    const char* text = stringArgument(call);
    const auto about = text ? json::parseObject(text) : std::nullopt;
    Companion companion;
    companion.compositor = about ? json::stringMember(*about, "compositor").value_or("") : "";
    companion.version = about ? json::stringMember(*about, "version").value_or("") : "";
    const auto protocol = about ? json::numberMember(*about, "protocol") : std::nullopt;
    const char* owned = compositorBusName(companion.compositor);
    if (!owned || protocol != kProtocol) {
        refuse(call, kInvalidArgs, "Unknown compositor or protocol");
        return;
    }
    // Only the compositor's own connection: a check of who owns its name now.
    auto pending = std::make_shared<Call>(call);
    const std::string sender = sd_bus_message_get_sender(call);
    const BusMethod getOwner{"org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus", "GetNameOwner"};
    attachChecks_[sender] = bus_.call(
        getOwner,
        [this, pending, sender, companion](sd_bus_message* reply, const ComposedText&) {
            const char* owner = nullptr;
            if (!reply || sd_bus_message_read(reply, "s", &owner) < 0 || sender != owner) {
                refuse(pending->message, kAccessDenied, "Not the compositor's connection");
                bus_.flush();
                return;
            }
            confirmAttachment(pending, companion);
        },
        "s", owned);
}

void CompanionLink::confirmAttachment(const std::shared_ptr<Call>& call, Companion companion) {
    // A companion that attaches again (a script loaded afresh) takes the earlier one's place.
    forget();
    companionName_ = sd_bus_message_get_sender(call->message);
    companion_ = std::move(companion);
    reportRefused_ = false;
    companionWatch_ = bus_.watchOwner(companionName_, [this](const std::string& owner) {
        if (owner.empty()) {
            detach();
        }
    });
    sd_bus_reply_method_return(call->message, "s", "{}");
    bus_.flush();
    expectRequests();
    companionChanged_.emit();
}

void CompanionLink::expectRequests() {
    silence_ = loop_.after(kSilence, [this] { detach(); });
}

void CompanionLink::detach() {
    if (companion_) {
        forget();
        companionChanged_.emit();
    }
}

void CompanionLink::forget() {
    companion_.reset();
    companionName_.clear();
    companionWatch_.cancel();
    heartbeat_.cancel();
    silence_.cancel();
    answerSoon_.cancel();
    if (waiting_) {
        sd_bus_reply_method_return(waiting_->message, "s", "[]");
        waiting_.reset();
        bus_.flush();
    }
    queued_.clear();
}

bool CompanionLink::fromCompanion(sd_bus_message* call) const {
    const char* sender = sd_bus_message_get_sender(call);
    return companion_ && sender && companionName_ == sender;
}

void CompanionLink::tellProblem(const ComposedText& problem) {
    if (!std::exchange(reportRefused_, true)) {
        problem_.emit(problem);
    }
}

void CompanionLink::report(sd_bus_message* call) {
    const char* text = stringArgument(call);
    ComposedText error;
    auto parsed = text ? parseCompanionReport(text, error) : std::nullopt;
    if (!parsed) {
        tellProblem("Rapport des fenêtres refusé : " + (text ? error : "pas de texte"));
        refuse(call, kInvalidArgs, "Not a report");
        return;
    }
    sd_bus_reply_method_return(call, "");
    bus_.flush();
    reported_.emit(*parsed);
}

void CompanionLink::pointer(sd_bus_message* call) {
    const char* text = stringArgument(call);
    const auto at = text ? parseCompanionPointer(text) : std::nullopt;
    if (!at) {
        tellProblem("Position du pointeur refusée");
        refuse(call, kInvalidArgs, "Not a position");
        return;
    }
    sd_bus_reply_method_return(call, "");
    bus_.flush();
    pointerMoved_.emit(*at);
}

void CompanionLink::takeRequestsCall(sd_bus_message* call) {
    if (waiting_) {
        sd_bus_reply_method_return(waiting_->message, "s", "[]");
    }
    waiting_ = std::make_shared<Call>(call);
    silence_.cancel();
    heartbeat_ = loop_.after(kHeartbeat, [this] { answerRequests(true); });
    answerRequests(false);
}

void CompanionLink::ask(std::string request) {
    if (!companion_) {
        return;
    }
    queued_.push_back(std::move(request));
    requestsWaiting();
}

Handle CompanionLink::addRequestSource(RequestSource source) {
    const auto id = nextSource_++;
    sources_.emplace_back(id, std::move(source));
    return Handle([this, id] {
        std::erase_if(sources_, [id](const auto& entry) { return entry.first == id; });
    });
}

void CompanionLink::requestsWaiting() {
    // Several asks of one turn of the loop go in one answer.
    if (waiting_ && !answerSoon_) {
        answerSoon_ = loop_.post([this] {
            answerSoon_.cancel();
            answerRequests(false);
        });
    }
}

void CompanionLink::answerRequests(bool evenIfEmpty) {
    if (!waiting_) {
        return;
    }
    std::vector<std::string> requests = std::move(queued_);
    queued_.clear();
    for (const auto& [id, source] : std::vector(sources_)) {
        source(requests);
    }
    if (requests.empty() && !evenIfEmpty) {
        return;
    }
    std::string answer = "[";
    for (const auto& request : requests) {
        answer += (answer.size() > 1 ? "," : "") + request;
    }
    answer += "]";
    const auto call = std::move(waiting_);
    waiting_.reset();
    heartbeat_.cancel();
    sd_bus_reply_method_return(call->message, "s", answer.c_str());
    bus_.flush();
    expectRequests();
}

}  // namespace olvane::platform::os
