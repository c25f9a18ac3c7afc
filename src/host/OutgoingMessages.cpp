#include "host/OutgoingMessages.h"

#include <string>

namespace olvane::host::outgoing {

Json rulesTimestamp(std::optional<long long> modificationTimeNs) {
    if (!modificationTimeNs) {
        return 0;
    }
    return static_cast<double>(*modificationTimeNs) / 1e9;
}

namespace {

// The members in the order of sorted keys, as every other message is written.
std::string rulesMessage(std::string_view rulesObjectText,
                         std::optional<long long> modificationTimeNs, bool pushed) {
    const std::string timestamp = json::dumpCompact(rulesTimestamp(modificationTimeNs));
    std::string text;
    text.reserve(rulesObjectText.size() + 80);
    text.append(R"({"rules":)").append(rulesObjectText);
    if (pushed) {
        text.append(R"(,"source":"file_change")");
    }
    text.append(R"(,"timestamp":)").append(timestamp).append(R"(,"type":"RULES"})");
    return text;
}

}  // namespace

std::string rules(std::string_view rulesObjectText, std::optional<long long> modificationTimeNs) {
    return rulesMessage(rulesObjectText, modificationTimeNs, false);
}

std::string rulesChanged(std::string_view rulesObjectText,
                         std::optional<long long> modificationTimeNs) {
    return rulesMessage(rulesObjectText, modificationTimeNs, true);
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
