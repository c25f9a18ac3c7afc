// Arbitrary bytes as a command, site or health file, read the way the application reads them. A
// record is accepted exactly when its required members have their types, and what is accepted,
// written back as the writers write it, reads back the same.
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "model/exchange/ExchangeFiles.h"

namespace {

using namespace olvane;
using fuzz::check;

template <typename Record>
void checkRoundTrip(const std::optional<Record>& read, bool acceptable) {
    check(read.has_value() == acceptable);
    if (!read) {
        return;
    }
    const auto written = read->toJson();
    const auto object = json::parseObject(json::dumpCompact(written));
    check(object.has_value());
    const auto again = Record::fromJson(*object);
    check(again && again->toJson() == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto object = json::parseObject(text);
    if (!object) {
        return 0;
    }
    const bool hasTimestamp = json::numberMember(*object, "timestamp").has_value();
    const bool hasAction = json::stringMember(*object, "action").has_value();
    checkRoundTrip(exchange::GrayscaleCommand::fromJson(*object), hasTimestamp && hasAction);
    checkRoundTrip(exchange::FullscreenCommand::fromJson(*object), hasTimestamp && hasAction);
    checkRoundTrip(exchange::SiteContext::fromJson(*object), hasTimestamp);
    checkRoundTrip(exchange::HealthRecord::fromJson(*object), hasTimestamp);
    return 0;
}
