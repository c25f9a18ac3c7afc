#include "model/DelayDuration.h"

#include "model/KeyedDecoder.h"

namespace olvane {
namespace {

constexpr std::array<std::string_view, 5> kPresetIds{"10s", "30s", "45s", "1min", "1h"};

}  // namespace

std::string DelayDuration::id() const {
    if (isCustom()) {
        return "custom_" + std::to_string(customSeconds_);
    }
    return std::string(kPresetIds[static_cast<std::size_t>(type_)]);
}

void DelayDuration::writeJson(JsonWriter& out) const {
    out.beginObject();
    if (isCustom()) {
        out.member("customSeconds", customSeconds_);
    }
    out.member("type", rawValue(type_)).endObject();
}

Decoded<DelayDuration> DelayDuration::fromJson(const Json& value, const DecodePath& path) {
    auto type = DurationType::preset30s;
    KeyedDecoder decoder(value, path);
    decoder.require("type", type);
    std::int64_t customSeconds = 0;
    if (type == DurationType::custom) {
        decoder.require("customSeconds", customSeconds);
    }
    return std::move(decoder).finish(DelayDuration(type, customSeconds));
}

}  // namespace olvane
