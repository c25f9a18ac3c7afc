#pragma once

#include <string>
#include <vector>

#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "platform/Json.h"

namespace olvane {

// The crash-recovery record: present in the user defaults exactly while the application runs.
struct LastKnownState {
    // Seconds since 2001-01-01 00:00:00 UTC, as dates inside user-defaults blobs are stored.
    double timestamp = 0;
    bool wasGrayscaleEnabled = false;
    // Raw values of the active friction effects, in the order the caller gave.
    std::vector<std::string> activeEffects;

    bool operator==(const LastKnownState&) const = default;

    Json toJson() const;
    // All three keys required.
    static Decoded<LastKnownState> fromJson(const Json& value, const DecodePath& path = {});
};

}  // namespace olvane
