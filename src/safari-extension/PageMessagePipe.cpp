#include "safari-extension/PageMessagePipe.h"

#include <functional>

#include "model/exchange/FrameCodec.h"
#include "safari-extension/SafariPage.h"

namespace olvane::safari {
namespace {

// The page that sent a message: replies go back on the pipe, tagged with its identity.
class PipedPage final : public SafariPage {
  public:
    PipedPage(Json identity, std::function<void(const Json&)> send)
        : identity_(std::move(identity)), send_(std::move(send)) {}

    void dispatchMessageToScript(const std::string& name, const Json& userInfo) override {
        Json frame = {{"name", name}, {"userInfo", userInfo}};
        if (!identity_.is_null()) {
            frame["page"] = identity_;
        }
        send_(frame);
    }

  private:
    Json identity_;
    std::function<void(const Json&)> send_;
};

Json memberOr(const Json& frame, const char* key, Json fallback) {
    const auto it = frame.find(key);
    return it == frame.end() ? fallback : *it;
}

}  // namespace

PageMessagePipe::PageMessagePipe(SafariExtensionHandler& handler, std::FILE* in, std::FILE* out)
    : handler_(handler), in_(in), out_(out) {}

void PageMessagePipe::run() {
    while (const auto payload = exchange::readFrame(in_)) {
        const auto frame = json::parseObject(*payload);
        if (!frame) {
            return;
        }
        dispatch(*frame);
    }
}

void PageMessagePipe::dispatch(const Json& frame) {
    if (const auto event = json::stringMember(frame, "event")) {
        handleEvent(*event, frame);
        return;
    }
    PipedPage page(memberOr(frame, "page", nullptr), [this](const Json& out) { send(out); });
    handler_.messageReceived(json::stringMember(frame, "name").value_or(""), page,
                             memberOr(frame, "userInfo", Json::object()));
}

void PageMessagePipe::handleEvent(const std::string& event, const Json& frame) {
    if (event == "willNavigate") {
        handler_.pageWillNavigateTo(json::stringMember(frame, "url"));
    } else if (event == "toolbarItemClicked") {
        handler_.toolbarItemClicked();
    } else if (event == "validateToolbarItem") {
        handler_.validateToolbarItem([this](bool enabled, const std::string& badgeText) {
            send({{"event", "toolbarItemValidated"},
                  {"enabled", enabled},
                  {"badgeText", badgeText}});
        });
    } else {
        // Not one of Safari's calls: the handler treats it as an unknown message.
        PipedPage page(nullptr, [this](const Json& out) { send(out); });
        handler_.messageReceived(event, page, Json::object());
    }
}

void PageMessagePipe::send(const Json& frame) {
    (void)exchange::writeFrame(out_, json::dumpCompact(frame));
}

}  // namespace olvane::safari
