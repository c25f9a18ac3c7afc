#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/linux/AsyncBus.h"
#include "platform/linux/compositor/CompanionReport.h"

struct sd_bus_message;

namespace olvane::platform::os {

// OlvaneMac's end of the companion's contract (so.olvane.mac.Companion1.xml): it owns
// so.olvane.mac, takes the reports of the one companion attached, and hands it what OlvaneMac
// asks as the answers to its Requests. Only the connection that owns the compositor's own name
// (org.gnome.Shell, org.kde.KWin) may attach.
class CompanionLink {
  public:
    struct Companion {
        // "gnome-shell", "kwin".
        std::string compositor;
        std::string version;
    };
    // Adds what a source asks now; called whenever the companion waits for requests.
    using RequestSource = std::function<void(std::vector<std::string>& requests)>;

    static constexpr const char* kBusName = "so.olvane.mac";
    static constexpr const char* kObjectPath = "/so/olvane/mac/Companion";
    static constexpr const char* kInterface = "so.olvane.mac.Companion1";

    // Null when the name is another program's, or the object cannot be served.
    static std::unique_ptr<CompanionLink> create(RunLoop& loop, AsyncBus& bus);
    ~CompanionLink();
    CompanionLink(const CompanionLink&) = delete;
    CompanionLink& operator=(const CompanionLink&) = delete;

    // The companion attached now.
    const std::optional<Companion>& companion() const { return companion_; }
    // At each attachment and each departure.
    Handle observeCompanion(std::function<void()> observer) {
        return companionChanged_.connect([observer] { observer(); });
    }
    Handle observeReport(std::function<void(const CompanionReport&)> observer) {
        return reported_.connect(std::move(observer));
    }
    Handle observePointer(std::function<void(const Point&)> observer) {
        return pointerMoved_.connect(std::move(observer));
    }
    // A call refused for what it held (a report that is no report…), said once an attachment.
    Handle observeProblem(std::function<void(const ComposedText&)> observer) {
        return problem_.connect(std::move(observer));
    }

    // One request (a JSON text), sent with the next answer; none while no companion is attached.
    void ask(std::string request);
    Handle addRequestSource(RequestSource source);
    // A source has something to ask: the waiting call is answered now.
    void requestsWaiting();

  private:
    struct Call;

    CompanionLink(RunLoop& loop, AsyncBus& bus);
    bool serve();
    int handle(sd_bus_message* call);
    void attach(sd_bus_message* call);
    void confirmAttachment(const std::shared_ptr<Call>& call, Companion companion);
    void tellProblem(const ComposedText& problem);
    void detach();
    void forget();
    bool fromCompanion(sd_bus_message* call) const;
    void report(sd_bus_message* call);
    void pointer(sd_bus_message* call);
    void expectRequests();
    void takeRequestsCall(sd_bus_message* call);
    void answerRequests(bool evenIfEmpty);

    RunLoop& loop_;
    AsyncBus& bus_;
    std::optional<Companion> companion_;
    std::string companionName_;
    std::shared_ptr<Call> waiting_;
    std::vector<std::string> queued_;
    std::vector<std::pair<std::uint64_t, RequestSource>> sources_;
    std::uint64_t nextSource_ = 1;
    bool reportRefused_ = false;
    Signal<> companionChanged_;
    Signal<CompanionReport> reported_;
    Signal<Point> pointerMoved_;
    Signal<ComposedText> problem_;
    Handle object_;
    Handle companionWatch_;
    std::map<std::string, Handle> attachChecks_;
    Handle heartbeat_;
    Handle silence_;
    Handle answerSoon_;
};

}  // namespace olvane::platform::os
