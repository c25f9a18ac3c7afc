#include "watchdog/PidFileParser.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace olvane {
namespace {

// Decodes strict UTF-8 (no overlong forms, no surrogates); nullopt when invalid.
std::optional<std::vector<char32_t>> decodeUtf8(std::string_view bytes) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80         ? 1
                           : lead >> 5 == 0x6  ? 2
                           : lead >> 4 == 0xE  ? 3
                           : lead >> 3 == 0x1E ? 4
                                               : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size()) {
            return std::nullopt;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return std::nullopt;
        }
        out.push_back(code);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

// Unicode white space and line ends: the separators (Zs, Zl, Zp), tab and U+000A–U+000D, U+0085.
bool isWhitespaceOrNewline(char32_t c) {
    return c == 0x20 || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

std::optional<std::int32_t> parseInt32(const std::vector<char32_t>& text, std::size_t begin,
                                       std::size_t end) {
    bool negative = false;
    if (begin < end && (text[begin] == U'+' || text[begin] == U'-')) {
        negative = text[begin] == U'-';
        ++begin;
    }
    if (begin == end) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] < U'0' || text[i] > U'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::int64_t>(text[i] - U'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<pid_t> parsePidFileText(std::string_view bytes) {
    const auto text = decodeUtf8(bytes);
    if (!text) {
        return std::nullopt;
    }
    std::size_t begin = 0;
    std::size_t end = text->size();
    while (begin < end && isWhitespaceOrNewline((*text)[begin])) {
        ++begin;
    }
    while (end > begin && isWhitespaceOrNewline((*text)[end - 1])) {
        --end;
    }
    const auto value = parseInt32(*text, begin, end);
    if (!value || *value <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(*value);
}

}  // namespace olvane
