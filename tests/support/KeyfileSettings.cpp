#include "support/KeyfileSettings.h"

#include <algorithm>
#include <cstdlib>

#include "platform/FileIO.h"
#include "platform/linux/KConfigText.h"

namespace olvane::test {

KeyfileSettings::KeyfileSettings(const TempHome& home)
    : file_(home.paths().configHome() / "glib-2.0" / "settings" / "keyfile") {
    ::setenv("GSETTINGS_BACKEND", "keyfile", 1);
}

KeyfileSettings::~KeyfileSettings() {
    ::unsetenv("GSETTINGS_BACKEND");
}

void KeyfileSettings::write(const std::string& text) const {
    std::filesystem::create_directories(file_.parent_path());
    (void)platform::writeFileAtomically(file_, text);
}

std::optional<std::string> KeyfileSettings::value(const std::string& schema,
                                                  const std::string& key) const {
    auto group = schema;
    std::replace(group.begin(), group.end(), '.', '/');
    return platform::os::kconfig::entry(platform::readWholeFile(file_).value_or(""), group, key);
}

}  // namespace olvane::test
