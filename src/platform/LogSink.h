#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/ComposedText.h"

namespace olvane::platform {

enum class LogLevel : std::uint8_t { Debug, Info, Default, Error, Fault };

const char* logLevelName(LogLevel level);

// One argument of a log line. Strings are private unless the format marks them public; numbers
// are public unless marked private; a composed text keeps its own marking (only its user data is
// private) unless the format marks it private.
class LogArg {
  public:
    enum class Kind { Signed, Unsigned, Double, String, Composed };

    LogArg(bool v) : kind_(Kind::Signed), signed_(v ? 1 : 0) {}  // NOLINT: implicit by design
    template <typename T>
    requires(std::is_integral_v<T>&& std::is_signed_v<T>) LogArg(T v)
        : kind_(Kind::Signed), signed_(v) {}  // NOLINT
    template <typename T>
    requires(std::is_integral_v<T>&& std::is_unsigned_v<T> && !std::is_same_v<T, bool>) LogArg(T v)
        : kind_(Kind::Unsigned), unsigned_(v) {}                                          // NOLINT
    LogArg(double v) : kind_(Kind::Double), double_(v) {}                                 // NOLINT
    LogArg(float v) : kind_(Kind::Double), double_(v) {}                                  // NOLINT
    LogArg(std::string_view v) : kind_(Kind::String), string_(v) {}                       // NOLINT
    LogArg(const std::string& v) : kind_(Kind::String), string_(v) {}                     // NOLINT
    LogArg(const std::filesystem::path& v) : kind_(Kind::String), string_(v.string()) {}  // NOLINT
    LogArg(const char* v) : kind_(Kind::String), string_(v ? v : "(null)") {}             // NOLINT
    // The text must outlive the line, as every argument of a log call does.
    LogArg(const ComposedText& v) : kind_(Kind::Composed), composed_(&v) {}  // NOLINT

    Kind kind() const { return kind_; }
    long long asSigned() const;
    unsigned long long asUnsigned() const;
    double asDouble() const;
    const std::string& asString() const;  // numbers are rendered as text when needed
    // A composed text as a persistent sink shows it, or whole.
    std::string asComposed(bool redact) const;

  private:
    Kind kind_;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
    double double_ = 0;
    const ComposedText* composed_ = nullptr;
    mutable std::optional<std::string> string_;
};

// Fills a printf-style format ("%s", "%ld", "%.1f", "%02d", "%{public}s", "%{bool}d",
// "%{private}ld"…) with `args`. With `redact`, private values become "<private>".
std::string formatLogMessage(std::string_view format, std::span<const LogArg> args, bool redact);

// A line on its way to the sinks; each text is built on first request only.
class LogEntry {
  public:
    LogEntry(std::string_view subsystem, std::string_view category, LogLevel level,
             std::string_view format, std::span<const LogArg> args)
        : subsystem_(subsystem), category_(category), level_(level), format_(format), args_(args) {}

    std::string_view subsystem() const { return subsystem_; }
    std::string_view category() const { return category_; }
    LogLevel level() const { return level_; }
    // Private values included: for test captures only.
    const std::string& fullText() const;
    // Private values replaced by "<private>": what persistent sinks keep.
    const std::string& redactedText() const;

  private:
    std::string_view subsystem_;
    std::string_view category_;
    LogLevel level_;
    std::string_view format_;
    std::span<const LogArg> args_;
    mutable std::optional<std::string> full_;
    mutable std::optional<std::string> redacted_;
};

class LogSink {
  public:
    virtual ~LogSink() = default;
    virtual LogLevel minimumLevel() const = 0;
    virtual void write(const LogEntry& entry) = 0;
};

}  // namespace olvane::platform
