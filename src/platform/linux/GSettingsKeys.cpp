#include "platform/linux/GSettingsKeys.h"

#include "olvane_gsettings_build_id.h"
#include "platform/LoadableModule.h"

namespace olvane::platform::os {

GSettingsKeys* GSettingsKeys::shared(ComposedText* failure) {
    static LoadableModule module(kGSettingsModuleFile, OLVANE_GSETTINGS_MODULE,
                                 OLVANE_GSETTINGS_BUILD_ID);
    static GSettingsKeys* const keys = [] {
        auto* make =
            reinterpret_cast<SharedGSettingsKeys*>(module.entryPoint(kSharedGSettingsKeys));
        return make ? make() : nullptr;
    }();
    if (!keys && failure) {
        *failure = module.failure();
    }
    return keys;
}

ComposedText gsettingsModuleFailureText(const ComposedText& failure) {
    return "module " + ComposedText(kGSettingsModuleFile) + " non chargé (" + failure + ")";
}

}  // namespace olvane::platform::os
