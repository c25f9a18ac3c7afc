#include "platform/linux/GnomeExtensionList.h"

#include <regex>
#include <vector>

namespace olvane::platform::os {
namespace {

constexpr const char* kShellSchema = "org.gnome.shell";
constexpr const char* kEnabled = "enabled-extensions";

}  // namespace

std::optional<std::string> stringListWithout(std::string_view list, std::string_view uuid) {
    std::string text(list);
    if (text.starts_with("@as ")) {
        text.erase(0, 4);
    }
    static const std::regex wholeList(R"(^\[\s*('[^']*'\s*(,\s*'[^']*'\s*)*)?\]$)");
    if (!std::regex_match(text, wholeList)) {
        return std::nullopt;
    }
    static const std::regex item("'([^']*)'");
    std::string kept;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), item);
         it != std::sregex_iterator(); ++it) {
        if ((*it)[1].str() != uuid) {
            kept += (kept.empty() ? "'" : ", '") + (*it)[1].str() + "'";
        }
    }
    return "[" + kept + "]";
}

Status forgetEnabledGnomeExtension(GSettingsKeys& settings, const std::string& uuid) {
    if (!settings.has(kShellSchema, kEnabled)) {
        return Status::success();
    }
    const auto enabled = settings.userValue(kShellSchema, kEnabled);
    if (!enabled) {
        return Status::success();
    }
    const auto without = stringListWithout(*enabled, uuid);
    if (!without) {
        return Status::failure("Liste des extensions de GNOME illisible : « " + userData(*enabled) +
                               " »");
    }
    if (*without == *enabled) {
        return Status::success();
    }
    if (!settings.set(kShellSchema, kEnabled, *without)) {
        return Status::failure(
            "Impossible de retirer l’extension d’OlvaneMac des extensions "
            "activées de GNOME");
    }
    settings.sync();
    return Status::success();
}

}  // namespace olvane::platform::os
