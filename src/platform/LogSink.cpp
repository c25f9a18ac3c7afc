#include "platform/LogSink.h"

#include <cstdio>
#include <string>

namespace olvane::platform {

const char* logLevelName(LogLevel level) {
    switch (level) {
        case LogLevel::Debug:
            return "debug";
        case LogLevel::Info:
            return "info";
        case LogLevel::Default:
            return "default";
        case LogLevel::Error:
            return "error";
        case LogLevel::Fault:
            return "fault";
    }
    return "default";
}

long long LogArg::asSigned() const {
    switch (kind_) {
        case Kind::Signed:
            return signed_;
        case Kind::Unsigned:
            return static_cast<long long>(unsigned_);
        case Kind::Double:
            return static_cast<long long>(double_);
        case Kind::String:
        case Kind::Composed:
            return 0;
    }
    return 0;
}

unsigned long long LogArg::asUnsigned() const {
    switch (kind_) {
        case Kind::Signed:
            return static_cast<unsigned long long>(signed_);
        case Kind::Unsigned:
            return unsigned_;
        case Kind::Double:
            return static_cast<unsigned long long>(double_);
        case Kind::String:
        case Kind::Composed:
            return 0;
    }
    return 0;
}

double LogArg::asDouble() const {
    switch (kind_) {
        case Kind::Signed:
            return static_cast<double>(signed_);
        case Kind::Unsigned:
            return static_cast<double>(unsigned_);
        case Kind::Double:
            return double_;
        case Kind::String:
        case Kind::Composed:
            return 0;
    }
    return 0;
}

const std::string& LogArg::asString() const {
    if (!string_) {
        switch (kind_) {
            case Kind::Signed:
                string_ = std::to_string(signed_);
                break;
            case Kind::Unsigned:
                string_ = std::to_string(unsigned_);
                break;
            case Kind::Double: {
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%g", double_);
                string_ = buffer;
                break;
            }
            case Kind::String:
                string_ = std::string();
                break;
            case Kind::Composed:
                string_ = composed_->text();
                break;
        }
    }
    return *string_;
}

std::string LogArg::asComposed(bool redact) const {
    if (kind_ != Kind::Composed) {
        return asString();
    }
    return redact ? composed_->redacted() : composed_->text();
}

namespace {

struct Conversion {
    bool isPublic = false;
    bool isPrivate = false;
    bool isBool = false;
    std::string flags;  // flags, width and precision, as written
    char letter = 0;
};

bool isLengthModifier(char c) {
    return c == 'h' || c == 'l' || c == 'z' || c == 'j' || c == 't' || c == 'q' || c == 'L';
}

// Parses the part after '%' starting at `i`; returns the index after the conversion.
std::size_t parseConversion(std::string_view format, std::size_t i, Conversion& conversion) {
    if (i < format.size() && format[i] == '{') {
        const auto close = format.find('}', i);
        if (close != std::string_view::npos) {
            std::string_view annotations = format.substr(i + 1, close - i - 1);
            conversion.isPublic = annotations.find("public") != std::string_view::npos;
            conversion.isPrivate = annotations.find("private") != std::string_view::npos;
            conversion.isBool = annotations.find("bool") != std::string_view::npos;
            i = close + 1;
        }
    }
    while (i < format.size() &&
           std::string_view("-+ #0123456789.").find(format[i]) != std::string_view::npos) {
        conversion.flags += format[i++];
    }
    while (i < format.size() && isLengthModifier(format[i])) {
        ++i;
    }
    if (i < format.size()) {
        conversion.letter = format[i++];
    }
    return i;
}

std::string render(const Conversion& conversion, const LogArg& arg) {
    char buffer[128];
    const std::string head = "%" + conversion.flags;
    switch (conversion.letter) {
        case 'd':
        case 'i':
            if (conversion.isBool) {
                return arg.asSigned() != 0 ? "true" : "false";
            }
            std::snprintf(buffer, sizeof buffer, (head + "lld").c_str(), arg.asSigned());
            return buffer;
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            std::snprintf(buffer, sizeof buffer, (head + "ll" + conversion.letter).c_str(),
                          arg.asUnsigned());
            return buffer;
        case 'f':
        case 'F':
        case 'e':
        case 'g':
        case 'G':
            std::snprintf(buffer, sizeof buffer, (head + conversion.letter).c_str(),
                          arg.asDouble());
            return buffer;
        case 'c':
            return std::string(1, static_cast<char>(arg.asSigned()));
        default:
            return arg.asString();  // 's', '@'
    }
}

bool isPrivate(const Conversion& conversion, const LogArg& arg) {
    if (conversion.isPrivate) {
        return true;
    }
    if (conversion.isPublic || arg.kind() == LogArg::Kind::Composed) {
        return false;
    }
    return arg.kind() == LogArg::Kind::String || conversion.letter == 's' ||
           conversion.letter == '@';
}

}  // namespace

std::string formatLogMessage(std::string_view format, std::span<const LogArg> args, bool redact) {
    std::string out;
    out.reserve(format.size() + 16 * args.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        Conversion conversion;
        i = parseConversion(format, i + 1, conversion);
        if (next >= args.size()) {
            out += "<?>";
            continue;
        }
        const LogArg& arg = args[next++];
        if (redact && isPrivate(conversion, arg)) {
            out += "<private>";
        } else if (arg.kind() == LogArg::Kind::Composed) {
            out += arg.asComposed(redact);
        } else {
            out += render(conversion, arg);
        }
    }
    return out;
}

const std::string& LogEntry::fullText() const {
    if (!full_) {
        full_ = formatLogMessage(format_, args_, false);
    }
    return *full_;
}

const std::string& LogEntry::redactedText() const {
    if (!redacted_) {
        redacted_ = formatLogMessage(format_, args_, true);
    }
    return *redacted_;
}

}  // namespace olvane::platform
