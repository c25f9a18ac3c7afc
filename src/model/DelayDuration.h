#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "model/RawValueEnum.h"
#include "platform/Json.h"
#include "platform/JsonWriter.h"

namespace olvane {

// How long the delay screen waits: one of five presets, or a custom number of seconds.
// JSON: {"type": "preset45s"} or {"type": "custom", "customSeconds": 90}.
class DelayDuration {
  public:
    enum class DurationType { preset10s, preset30s, preset45s, preset1min, preset1h, custom };

    // The seconds of the five presets, in case order.
    static constexpr std::array<std::int64_t, 5> presetSeconds{10, 30, 45, 60, 3600};

    static constexpr DelayDuration preset10s() { return DelayDuration(DurationType::preset10s); }
    static constexpr DelayDuration preset30s() { return DelayDuration(DurationType::preset30s); }
    static constexpr DelayDuration preset45s() { return DelayDuration(DurationType::preset45s); }
    static constexpr DelayDuration preset1min() { return DelayDuration(DurationType::preset1min); }
    static constexpr DelayDuration preset1h() { return DelayDuration(DurationType::preset1h); }
    static constexpr DelayDuration custom(std::int64_t seconds) {
        return DelayDuration(DurationType::custom, seconds);
    }

    constexpr DurationType type() const { return type_; }
    constexpr bool isCustom() const { return type_ == DurationType::custom; }
    constexpr std::int64_t seconds() const {
        return isCustom() ? customSeconds_ : presetSeconds[static_cast<std::size_t>(type_)];
    }
    // "10s", "30s", "45s", "1min", "1h", or "custom_" and the seconds ("custom_90").
    std::string id() const;

    // A preset never equals a custom value, even one of the same length.
    constexpr bool operator==(const DelayDuration& other) const {
        return type_ == other.type_ && (!isCustom() || customSeconds_ == other.customSeconds_);
    }

    void writeJson(JsonWriter& out) const;
    // "type" is required; "customSeconds" is required for "custom" and ignored otherwise.
    static Decoded<DelayDuration> fromJson(const Json& value, const DecodePath& path = {});

  private:
    constexpr explicit DelayDuration(DurationType type, std::int64_t customSeconds = 0)
        : type_(type), customSeconds_(customSeconds) {}

    DurationType type_;
    std::int64_t customSeconds_;
};

template <>
struct RawValues<DelayDuration::DurationType> {
    static constexpr std::array<std::string_view, 6> names{"preset10s",  "preset30s", "preset45s",
                                                           "preset1min", "preset1h",  "custom"};
    static constexpr bool listsAllCases = false;
};

}  // namespace olvane
