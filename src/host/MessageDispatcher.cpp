#include "host/MessageDispatcher.h"

#include "host/OutgoingMessages.h"

namespace olvane::host {

MessageDispatcher::MessageDispatcher(const platform::Clock& clock, RulesFile& rules,
                                     HostFiles& files, HealthReporter& health, MessageSink& out)
    : clock_(clock), rulesReply_(rules), files_(files), health_(health), out_(out) {}

std::string MessageDispatcher::typeOf(const Json& message) {
    return json::stringMember(message, "type").value_or("");
}

bool MessageDispatcher::answerFromAnyThread(const std::string& type) {
    if (type == "PING") {
        static const std::string pong = json::dumpCompact(outgoing::pong());
        out_.sendSerialised("PONG", pong);
        return true;
    }
    if (type == "GET_RULES") {
        // Asking does not count as having seen a change: a pending push still goes out.
        rulesReply_.send(out_);
        return true;
    }
    return false;
}

void MessageDispatcher::handle(const std::string& type, const Json& message) {
    if (answerFromAnyThread(type)) {
        return;
    }
    if (type == "INIT") {
        init(message);
    } else if (type == "GRAYSCALE_COMMAND") {
        grayscaleCommand(message);
    } else if (type == "FULLSCREEN_VIDEO") {
        fullscreenVideo(message);
    } else if (type == "SITE_CONTEXT") {
        siteContext(message);
    } else {
        out_.send(outgoing::unknownType(type));
    }
}

void MessageDispatcher::init(const Json& message) {
    const auto browser = json::stringMember(message, "browser").value_or("");
    if (!HealthReporter::isServedBrowser(browser)) {
        return;
    }
    health_.connect(browser);
    health_.writeHealthFile();
}

void MessageDispatcher::grayscaleCommand(const Json& message) {
    const exchange::GrayscaleCommand command{json::stringMember(message, "action").value_or(""),
                                             json::stringMember(message, "domain").value_or(""),
                                             clock_.unixNow()};
    out_.send(outgoing::grayscaleCommandAck(files_.writeGrayscaleCommand(command)));
}

void MessageDispatcher::fullscreenVideo(const Json& message) {
    const bool entered = json::boolMember(message, "isFullscreen").value_or(false);
    [[maybe_unused]] const auto ignored = files_.writeFullscreenCommand(
        exchange::FullscreenCommand::forState(entered, clock_.unixNow()));
}

void MessageDispatcher::siteContext(const Json& message) {
    const auto browser = json::stringMember(message, "browser").value_or("firefox");
    if (!HealthReporter::isServedBrowser(browser)) {
        out_.send(outgoing::invalidSiteContextBrowser());
        return;
    }
    health_.connect(browser);
    const exchange::SiteContext site{json::stringMember(message, "domain").value_or(""),
                                     clock_.unixNow()};
    [[maybe_unused]] const auto ignored = files_.writeSiteContext(browser, site);
}

}  // namespace olvane::host
