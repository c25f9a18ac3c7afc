#include "model/Logger.h"

#include <mutex>

namespace olvane {
namespace {

constexpr const char* kFallbackSubsystem = "com.olvane.OlvaneMac";

std::optional<std::string>& givenIdentifier() {
    static std::optional<std::string> identifier;
    return identifier;
}

}  // namespace

void Logger::setApplicationIdentifier(std::optional<std::string> identifier) {
    givenIdentifier() = std::move(identifier);
}

std::string_view Logger::subsystem() {
    static const std::string value = [] {
        const auto& given = givenIdentifier();
        return given && !given->empty() ? *given : std::string(kFallbackSubsystem);
    }();
    return value;
}

void Logger::logError(const platform::ComposedText& message,
                      const std::optional<platform::ComposedText>& errorDescription) const {
    if (errorDescription) {
        error("⚠️ %s: %s", message, *errorDescription);
    } else {
        error("⚠️ %s", message);
    }
}

void Logger::logError(const platform::ComposedText& message, const platform::Status& status) const {
    logError(message, status ? std::nullopt : std::optional(status.description()));
}

void Logger::logUserAction(const platform::ComposedText& message) const {
    info("👆 %s", message);
}

void Logger::logStateChange(const platform::ComposedText& message) const {
    debug("🔄 %s", message);
}

#define OLVANE_CATEGORY_LOGGER(name, category) \
    const Logger& Logger::name() {             \
        static const Logger logger(category);  \
        return logger;                         \
    }

OLVANE_CATEGORY_LOGGER(app, "App")
OLVANE_CATEGORY_LOGGER(grayscaleFilter, "GrayscaleFilter")
OLVANE_CATEGORY_LOGGER(contentFilter, "ContentFilter")
OLVANE_CATEGORY_LOGGER(frictionEffects, "FrictionEffects")
OLVANE_CATEGORY_LOGGER(hotkeys, "Hotkeys")
OLVANE_CATEGORY_LOGGER(crashRecovery, "CrashRecovery")
OLVANE_CATEGORY_LOGGER(settings, "Settings")
OLVANE_CATEGORY_LOGGER(windowMonitor, "WindowMonitor")

#undef OLVANE_CATEGORY_LOGGER

const Logger& frictionLogger() {
    static const Logger logger(Logger::frictionEffects());
    return logger;
}

}  // namespace olvane
