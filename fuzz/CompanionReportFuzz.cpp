// Arbitrary bytes as a compositor companion's report of the windows. A report that is taken
// holds only windows OlvaneMac can place: a name, finite coordinates within bounds, a size that
// is never negative, a process identifier that is positive when given; a report refused says
// why. The pointer's position is finite when taken.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "platform/linux/compositor/CompanionReport.h"

namespace {

using olvane::fuzz::check;

bool finite(const olvane::platform::Rect& r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) &&
           std::isfinite(r.height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    olvane::platform::ComposedText error;
    const auto report = olvane::platform::os::parseCompanionReport(text, error);
    check(report.has_value() == error.empty());
    if (report) {
        check(report->windows.size() <= olvane::platform::os::kMaxReportedWindows);
        for (const auto& window : report->windows) {
            check(!window.id.empty());
            check(finite(window.client) && window.client.width >= 0 && window.client.height >= 0);
            check(!window.pid || *window.pid > 0);
        }
        check(!report->focus || !report->focus->empty());
    }
    if (const auto at = olvane::platform::os::parseCompanionPointer(text)) {
        check(std::isfinite(at->x) && std::isfinite(at->y));
    }
    return 0;
}
