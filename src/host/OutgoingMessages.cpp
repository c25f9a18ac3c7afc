#include "host/OutgoingMessages.h"

#include <string>

namespace olvane::host::outgoing {

Json rulesTimestamp(std::optional<long long> modificationTimeNs) {
    if (!modificationTimeNs) {
        return 0;
    }
    return static_cast<double>(*modificationTimeNs) / 1e9;
}

Json rules(Json rules, std::optional<long long> modificationTimeNs) {
    return {{"type", "RULES"},
            {"rules", std::move(rules)},
            {"timestamp", rulesTimestamp(modificationTimeNs)}};
}

Json rulesChanged(Json rules, std::optional<long long> modificationTimeNs) {
    auto message = outgoing::rules(std::move(rules), modificationTimeNs);
    message["source"] = "file_change";
    return message;
}

Json pong() {
    return {{"type", "PONG"}, {"version", kHostVersion}};
}

Json grayscaleCommandAck(const platform::Status& written) {
    if (written) {
        return {{"type", "GRAYSCALE_COMMAND_ACK"}, {"success", true}};
    }
    return {{"type", "GRAYSCALE_COMMAND_ACK"},
            {"success", false},
            {"error", written.description().text()}};
}

Json heartbeat(double unixNow) {
    return {{"type", "HEARTBEAT"}, {"timestamp", unixNow}};
}

Json unknownType(std::string_view type) {
    return {{"type", "ERROR"}, {"message", "Unknown message type: " + std::string(type)}};
}

Json invalidSiteContextBrowser() {
    return {{"type", "ERROR"}, {"message", "Invalid browser for SITE_CONTEXT"}};
}

}  // namespace olvane::host::outgoing
