#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Status.h"
#include "platform/linux/GSettingsKeys.h"

namespace olvane::platform::os {

// `list` (a GVariant string array as GSettings writes it: "['a@x', 'b@y']", "@as []") without
// `uuid`; nullopt when it does not read as one. UUIDs hold no quote.
std::optional<std::string> stringListWithout(std::string_view list, std::string_view uuid);

// Takes `uuid` out of the extensions the user enabled in GNOME Shell (org.gnome.shell
// enabled-extensions), the others kept as they are; nothing to do without GNOME's schemas.
Status forgetEnabledGnomeExtension(GSettingsKeys& settings, const std::string& uuid);

}  // namespace olvane::platform::os
