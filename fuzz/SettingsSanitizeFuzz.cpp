// Arbitrary bytes as a stored settings blob, sanitised: never a crash; a blob comes back as it
// was or as one JSON object that sanitising leaves as it is.
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "model/SettingsManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using olvane::SettingsManager;
    using olvane::fuzz::check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto once = SettingsManager::sanitizeSettingsData(bytes);
    if (once != bytes) {
        check(olvane::json::parseObject(once).has_value());
        check(SettingsManager::sanitizeSettingsData(once) == once);
    }
    return 0;
}
