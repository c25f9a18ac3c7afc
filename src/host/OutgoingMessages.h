#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Json.h"
#include "platform/Status.h"

// The messages the host sends to the extension.
namespace olvane::host::outgoing {

inline constexpr const char* kHostVersion = "1.2.0";

// The rules file's modification time as floating-point Unix seconds, or the integer 0 when
// there is no file.
Json rulesTimestamp(std::optional<long long> modificationTimeNs);

// The most that a RULES message adds around the rules' text.
inline constexpr std::size_t kRulesEnvelopeBytes = 128;
// {"type": "RULES", "rules", "timestamp"}, serialised compactly as json::dumpCompact would, around
// the rules' own compact text; a push after a change adds "source": "file_change".
std::string rules(std::string_view rulesObjectText, std::optional<long long> modificationTimeNs);
std::string rulesChanged(std::string_view rulesObjectText,
                         std::optional<long long> modificationTimeNs);
Json pong();
Json grayscaleCommandAck(const platform::Status& written);
Json heartbeat(double unixNow);
Json unknownType(std::string_view type);
Json invalidSiteContextBrowser();

}  // namespace olvane::host::outgoing
