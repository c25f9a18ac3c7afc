// Arbitrary bytes as the watchdog's PID file. The parser names a positive process identifier or
// none; on ASCII text it agrees with a plain reading (white space around an optionally signed
// decimal that fits 32 bits); and a PID written as the application writes it reads back.
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "watchdog/PidFileParser.h"

namespace {

using olvane::fuzz::check;

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::optional<pid_t> plainReading(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const auto begin = text.find_first_not_of(kSpace);
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(begin, text.find_last_not_of(kSpace) - begin + 1);
    const bool negative = text.front() == '-';
    if (text.front() == '+' || text.front() == '-') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max() + std::int64_t{1}) {
            return std::nullopt;
        }
    }
    if (negative || value == 0 || value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<pid_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto pid = olvane::parsePidFileText(text);
    check(!pid || *pid > 0);
    if (isAscii(text)) {
        check(pid == plainReading(text));
    }
    if (size >= sizeof(std::int32_t)) {
        std::int32_t written = 0;
        std::memcpy(&written, data, sizeof written);
        const auto read = olvane::parsePidFileText(std::to_string(written));
        check(written > 0 ? read == written : !read);
    }
    return 0;
}
