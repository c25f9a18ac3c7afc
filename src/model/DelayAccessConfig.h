#pragma once

#include <string>

#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "model/DelayDuration.h"
#include "model/FrictionTargetType.h"
#include "model/Uuid.h"
#include "platform/Json.h"
#include "platform/JsonWriter.h"

namespace olvane {

// The legacy form of a delay target. Loading folds every stored record into the friction targets
// and empties the list; nothing creates new ones.
struct DelayAccessConfig {
    Uuid id;
    FrictionTargetType targetType = FrictionTargetType::app;
    std::string targetIdentifier;
    std::string targetDisplayName;
    DelayDuration delayDuration = DelayDuration::preset30s();
    bool isEnabled = false;

    bool operator==(const DelayAccessConfig&) const = default;

    void writeJson(JsonWriter& out) const;
    // All six keys required.
    static Decoded<DelayAccessConfig> fromJson(const Json& value, const DecodePath& path = {});
};

}  // namespace olvane
