#include "model/LastKnownState.h"

#include "model/KeyedDecoder.h"

namespace olvane {

Json LastKnownState::toJson() const {
    return {{"timestamp", timestamp},
            {"wasGrayscaleEnabled", wasGrayscaleEnabled},
            {"activeEffects", activeEffects}};
}

Decoded<LastKnownState> LastKnownState::fromJson(const Json& value, const DecodePath& path) {
    LastKnownState state;
    KeyedDecoder decoder(value, path);
    decoder.require("timestamp", state.timestamp)
        .require("wasGrayscaleEnabled", state.wasGrayscaleEnabled)
        .require("activeEffects", state.activeEffects);
    return std::move(decoder).finish(std::move(state));
}

}  // namespace olvane
