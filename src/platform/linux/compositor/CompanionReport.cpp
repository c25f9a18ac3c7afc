#include "platform/linux/compositor/CompanionReport.h"

#include <cmath>
#include <limits>

#include "platform/Json.h"

namespace olvane::platform::os {
namespace {

// Far beyond any desktop, and a bound that keeps every sum of coordinates finite.
constexpr double kMaxCoordinate = 1'000'000;
// Beyond any screen's scale.
constexpr double kMaxPointScale = 16;

std::optional<double> coordinate(const Json& value) {
    if (!value.is_number()) {
        return std::nullopt;
    }
    const double number = value.get<double>();
    if (!std::isfinite(number) || std::abs(number) > kMaxCoordinate) {
        return std::nullopt;
    }
    return number;
}

std::optional<Rect> rectOf(const Json& value) {
    if (!value.is_array() || value.size() != 4) {
        return std::nullopt;
    }
    const auto x = coordinate(value[0]);
    const auto y = coordinate(value[1]);
    const auto width = coordinate(value[2]);
    const auto height = coordinate(value[3]);
    if (!x || !y || !width || !height || *width < 0 || *height < 0) {
        return std::nullopt;
    }
    return Rect{*x, *y, *width, *height};
}

std::string text(const Json& object, std::string_view key) {
    return json::stringMember(object, key).value_or(std::string());
}

template <typename Integer>
std::optional<Integer> integerMember(const Json& object, std::string_view key) {
    const auto number = json::numberMember(object, key);
    if (!number || *number < 0 || *number > double(std::numeric_limits<Integer>::max()) ||
        std::floor(*number) != *number) {
        return std::nullopt;
    }
    return static_cast<Integer>(*number);
}

std::optional<CompositorWindow> windowOf(const Json& value) {
    if (!value.is_object()) {
        return std::nullopt;
    }
    CompositorWindow window;
    window.id = text(value, "id");
    const auto client = value.contains("client") ? rectOf(value["client"]) : std::nullopt;
    const auto x11 = integerMember<std::uint32_t>(value, "x11");
    const auto pid = integerMember<pid_t>(value, "pid");
    if (window.id.empty() || !client || !x11 || !pid) {
        return std::nullopt;
    }
    window.client = *client;
    const auto frame = value.contains("frame") ? rectOf(value["frame"]) : std::nullopt;
    window.frame = frame ? *frame : *client;
    window.x11 = *x11;
    if (*pid > 0) {
        window.pid = *pid;
    }
    window.names.desktopId = text(value, "desktop");
    window.names.name = text(value, "name");
    window.names.gtkApplicationId = text(value, "gtk");
    window.names.windowClass = text(value, "class");
    window.names.instance = text(value, "instance");
    if (auto type = json::stringMember(value, "type"); type && !type->empty()) {
        window.type = std::move(*type);
    }
    window.keptAbove = json::boolMember(value, "above").value_or(false);
    const auto scale = json::numberMember(value, "scale").value_or(1);
    window.pointScale = std::isfinite(scale) && scale > 0 && scale <= kMaxPointScale ? scale : 1;
    window.shown = json::boolMember(value, "shown").value_or(true);
    return window;
}

}  // namespace

std::optional<CompanionReport> parseCompanionReport(std::string_view text, ComposedText& error) {
    const auto document = json::parseObject(text);
    if (!document) {
        error = "le rapport n’est pas un objet JSON";
        return std::nullopt;
    }
    const auto windows = document->find("windows");
    if (windows == document->end() || !windows->is_array()) {
        error = "le rapport n’a pas de liste « windows »";
        return std::nullopt;
    }
    if (windows->size() > kMaxReportedWindows) {
        error = "le rapport compte trop de fenêtres";
        return std::nullopt;
    }
    CompanionReport report;
    for (const auto& value : *windows) {
        if (auto window = windowOf(value)) {
            report.windows.push_back(std::move(*window));
        }
    }
    if (auto focus = json::stringMember(*document, "focus"); focus && !focus->empty()) {
        report.focus = std::move(*focus);
    }
    return report;
}

std::optional<Point> parseCompanionPointer(std::string_view text) {
    const auto document = json::parse(text, 4);
    if (!document || !document->is_array() || document->size() != 2) {
        return std::nullopt;
    }
    const auto x = coordinate((*document)[0]);
    const auto y = coordinate((*document)[1]);
    if (!x || !y) {
        return std::nullopt;
    }
    return Point{*x, *y};
}

}  // namespace olvane::platform::os
