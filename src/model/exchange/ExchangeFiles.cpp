#include "model/exchange/ExchangeFiles.h"

#include "platform/FileIO.h"

namespace olvane::exchange {

std::string siteFileName(std::string_view browserName) {
    return std::string(browserName) + "-site.json";
}

std::string healthFileName(std::string_view browserName) {
    return std::string(browserName) + "-health.json";
}

Json GrayscaleCommand::toJson() const {
    return {{"action", action}, {"domain", domain}, {"timestamp", timestamp}};
}

std::optional<GrayscaleCommand> GrayscaleCommand::fromJson(const Json& object) {
    const auto action = json::stringMember(object, "action");
    const auto timestamp = json::numberMember(object, "timestamp");
    if (!action || !timestamp) {
        return std::nullopt;
    }
    return GrayscaleCommand{*action, json::stringMember(object, "domain").value_or(""), *timestamp};
}

FullscreenCommand FullscreenCommand::forState(bool enteredFullscreen, double now) {
    return {enteredFullscreen ? kActionFullscreenStart : kActionFullscreenEnd, now};
}

Json FullscreenCommand::toJson() const {
    return {{"action", action}, {"timestamp", timestamp}};
}

std::optional<FullscreenCommand> FullscreenCommand::fromJson(const Json& object) {
    const auto action = json::stringMember(object, "action");
    const auto timestamp = json::numberMember(object, "timestamp");
    if (!action || !timestamp) {
        return std::nullopt;
    }
    return FullscreenCommand{*action, *timestamp};
}

Json SiteContext::toJson() const {
    return {{"domain", domain}, {"timestamp", timestamp}};
}

std::optional<SiteContext> SiteContext::fromJson(const Json& object) {
    const auto timestamp = json::numberMember(object, "timestamp");
    if (!timestamp) {
        return std::nullopt;
    }
    return SiteContext{json::stringMember(object, "domain").value_or(""), *timestamp};
}

Json HealthRecord::toJson() const {
    return {{"browser", browser}, {"timestamp", timestamp}};
}

std::optional<HealthRecord> HealthRecord::fromJson(const Json& object) {
    const auto timestamp = json::numberMember(object, "timestamp");
    if (!timestamp) {
        return std::nullopt;
    }
    return HealthRecord{json::stringMember(object, "browser").value_or(""), *timestamp};
}

std::optional<Json> readJsonObject(const std::filesystem::path& path) {
    const auto text = platform::readWholeFile(path, nullptr, kMaxExchangeFileBytes);
    return text ? json::parseObject(*text) : std::nullopt;
}

std::optional<Json> readJsonObject(const platform::FileSystem& files,
                                   const std::filesystem::path& path) {
    const auto text = files.read(path, nullptr, kMaxExchangeFileBytes);
    return text ? json::parseObject(*text) : std::nullopt;
}

platform::Status writeExchangeFile(const std::filesystem::path& path, const Json& object) {
    return platform::writeFileInPlace(path, json::dumpCompact(object));
}

platform::Status writeExchangeFile(platform::FileSystem& files, const std::filesystem::path& path,
                                   const Json& object) {
    return files.writeInPlace(path, json::dumpCompact(object));
}

}  // namespace olvane::exchange
