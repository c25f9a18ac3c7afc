#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Json.h"
#include "platform/Status.h"

// The small JSON files through which the browser side (the host, the Safari extension) and the
// application talk. Writers and readers of all three programs use these definitions.
namespace olvane::exchange {

inline constexpr const char* kGrayscaleCommandFile = "grayscale-command.json";
inline constexpr const char* kFullscreenCommandFile = "fullscreen-command.json";
inline constexpr const char* kRulesFile = "rules.json";
inline constexpr const char* kWatchdogPidFile = "watchdog-pid";

inline constexpr const char* kActionDisable = "disable";
inline constexpr const char* kActionEnable = "enable";
inline constexpr const char* kActionFullscreenStart = "fullscreen_start";
inline constexpr const char* kActionFullscreenEnd = "fullscreen_end";

// A command acts only while younger than this, in seconds.
inline constexpr double kCommandFreshnessSeconds = 2.0;

// "firefox-site.json", "chrome-site.json", "safari-site.json".
std::string siteFileName(std::string_view browserName);
// "firefox-health.json", "chrome-health.json".
std::string healthFileName(std::string_view browserName);

// "grayscale-command.json": an allowed site suspends the filter ("disable") or resumes it
// ("enable"); other actions are written as received and ignored by the reader.
struct GrayscaleCommand {
    std::string action;
    std::string domain;  // optional on read, only logged
    double timestamp = 0;

    Json toJson() const;
    // Needs "action" as a string and "timestamp" as a number.
    static std::optional<GrayscaleCommand> fromJson(const Json& object);
    bool isFresh(double now) const { return now - timestamp < kCommandFreshnessSeconds; }
};

// "fullscreen-command.json": a browser video entered or left full screen.
struct FullscreenCommand {
    std::string action;
    double timestamp = 0;

    static FullscreenCommand forState(bool enteredFullscreen, double now);
    Json toJson() const;
    static std::optional<FullscreenCommand> fromJson(const Json& object);
    bool isFresh(double now) const { return now - timestamp < kCommandFreshnessSeconds; }
};

// "<browser>-site.json": the site the user is on; an empty domain means none.
struct SiteContext {
    std::string domain;
    double timestamp = 0;

    Json toJson() const;
    // Needs "timestamp" as a number; a missing or non-string "domain" reads as no site.
    static std::optional<SiteContext> fromJson(const Json& object);
};

// "<browser>-health.json": when the extension last proved alive.
struct HealthRecord {
    std::string browser;
    double timestamp = 0;

    Json toJson() const;
    // Needs a top-level "timestamp" number; "browser" is not required.
    static std::optional<HealthRecord> fromJson(const Json& object);
};

// The longest exchange file read: rules.json as the application indents it. Anything longer is
// no file of ours, and is refused before it is read.
inline constexpr std::size_t kMaxExchangeFileBytes = 4 * 1024 * 1024;

// Reads a file holding one JSON object; nullopt when missing, unreadable, longer than
// kMaxExchangeFileBytes or not an object.
std::optional<Json> readJsonObject(const std::filesystem::path& path);
std::optional<Json> readJsonObject(const platform::FileSystem& files,
                                   const std::filesystem::path& path);

// Writes a command, site or health file: compact JSON, in place. The readers watch the file
// itself (its inode), so it must not be replaced by a rename.
platform::Status writeExchangeFile(const std::filesystem::path& path, const Json& object);
platform::Status writeExchangeFile(platform::FileSystem& files, const std::filesystem::path& path,
                                   const Json& object);

}  // namespace olvane::exchange
