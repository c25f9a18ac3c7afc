#include "host/HealthReporter.h"

namespace olvane::host {

HealthReporter::HealthReporter(HostFiles& files, const platform::Clock& clock)
    : files_(files), clock_(clock) {}

bool HealthReporter::isServedBrowser(std::string_view name) {
    return name == "firefox" || name == "chrome";
}

void HealthReporter::writeHealthFile() {
    if (!connectedBrowser_) {
        return;
    }
    [[maybe_unused]] const auto ignored =
        files_.writeHealth({*connectedBrowser_, clock_.unixNow()});
}

}  // namespace olvane::host
