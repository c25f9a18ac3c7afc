#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "model/FrictionTargetType.h"
#include "model/RedListConfig.h"
#include "model/Uuid.h"
#include "ui/configurateur/IntensityLevel.h"

namespace olvane {

// One Contrepoids target while the wizard edits it: what it is and its level, nothing more.
struct ContrepoidsTargetDraft {
    // For a target read from the settings, its stored identifier: the activation recognises it
    // by that and keeps its own values when its level did not change.
    Uuid id;
    FrictionTargetType targetType = FrictionTargetType::app;
    // An application identifier, or a site as the adding screen hands it over.
    std::string targetIdentifier;
    std::string targetDisplayName;
    IntensityLevel intensityLevel = IntensityLevel::equilibre;

    bool operator==(const ContrepoidsTargetDraft&) const = default;

    // The identifiers of `drafts`, in order.
    static std::vector<Uuid> idsOf(const std::vector<ContrepoidsTargetDraft>& drafts) {
        std::vector<Uuid> ids;
        ids.reserve(drafts.size());
        for (const auto& draft : drafts) {
            ids.push_back(draft.id);
        }
        return ids;
    }

    // The draft of `drafts` with this identifier, which must be there.
    static const ContrepoidsTargetDraft& withId(const std::vector<ContrepoidsTargetDraft>& drafts,
                                                const Uuid& id) {
        return *std::ranges::find(drafts, id, &ContrepoidsTargetDraft::id);
    }

    static ContrepoidsTargetDraft of(const RedListConfig& config) {
        return {config.id, config.targetType, config.targetIdentifier, config.targetDisplayName,
                olvane::intensityLevel(config)};
    }
};

}  // namespace olvane
