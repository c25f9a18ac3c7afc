#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LogRouter.h"
#include "platform/LogSink.h"
#include "platform/Status.h"

namespace olvane {

using platform::LogLevel;

// A category logger. Lines are built only when some sink takes their level.
class Logger {
  public:
    explicit Logger(std::string category) : category_(std::move(category)) {}

    const std::string& category() const { return category_; }

    template <typename... Args>
    void log(LogLevel level, std::string_view format, const Args&... args) const {
        auto& router = platform::LogRouter::instance();
        if (!router.isEnabled(level)) {
            return;
        }
        const std::array<platform::LogArg, sizeof...(Args)> packed{platform::LogArg(args)...};
        router.write(platform::LogEntry(subsystem(), category_, level, format, packed));
    }

    template <typename... Args>
    void debug(std::string_view format, const Args&... args) const {
        log(LogLevel::Debug, format, args...);
    }
    template <typename... Args>
    void info(std::string_view format, const Args&... args) const {
        log(LogLevel::Info, format, args...);
    }
    // The "default" level.
    template <typename... Args>
    void notice(std::string_view format, const Args&... args) const {
        log(LogLevel::Default, format, args...);
    }
    template <typename... Args>
    void error(std::string_view format, const Args&... args) const {
        log(LogLevel::Error, format, args...);
    }
    template <typename... Args>
    void fault(std::string_view format, const Args&... args) const {
        log(LogLevel::Fault, format, args...);
    }

    // "⚠️ message: description", or "⚠️ message" without an error; error level. Both texts
    // are ours, so the persistent logs show them; only the user's data inside them stays private.
    void logError(
        const platform::ComposedText& message,
        const std::optional<platform::ComposedText>& errorDescription = std::nullopt) const;
    void logError(const platform::ComposedText& message, const platform::Status& status) const;
    // "👆 message", info level.
    void logUserAction(const platform::ComposedText& message) const;
    // "🔄 message", debug level.
    void logStateChange(const platform::ComposedText& message) const;

    static const Logger& app();
    static const Logger& grayscaleFilter();
    static const Logger& contentFilter();
    static const Logger& frictionEffects();
    static const Logger& hotkeys();
    static const Logger& crashRecovery();
    static const Logger& settings();
    static const Logger& windowMonitor();

    // The subsystem of every line: the application identifier given at start, read once on first
    // use; "com.olvane.OlvaneMac" when none was given.
    static std::string_view subsystem();
    static void setApplicationIdentifier(std::optional<std::string> identifier);

  private:
    std::string category_;
};

// The logger of every friction component: a copy of Logger::frictionEffects().
const Logger& frictionLogger();

}  // namespace olvane
