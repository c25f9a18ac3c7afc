#include "model/SiteNormalizer.h"

#include <locale.h>
#include <wctype.h>

#include <optional>

namespace olvane {
namespace {

struct CodePoint {
    char32_t value;
    std::size_t length;
};

// The code point that starts at `at`; nullopt for a byte that does not begin valid UTF-8.
std::optional<CodePoint> decodeAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return CodePoint{lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (at + length > text.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return CodePoint{value, length};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// White space and line breaks: the space separators plus the control and line separators.
bool isWhitespace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// Typed sites may carry accented or non-Latin letters; the C library's Unicode tables lower
// them. Without a UTF-8 locale only ASCII is lowered.
char32_t toLower(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    }
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    if (utf8 == locale_t{}) {
        return c;
    }
    return static_cast<char32_t>(::towlower_l(static_cast<wint_t>(c), utf8));
}

std::string_view trimmed(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const auto c = decodeAt(text, begin);
        if (!c || !isWhitespace(c->value)) {
            break;
        }
        begin += c->length;
    }
    std::size_t end = begin;
    std::size_t contentEnd = begin;
    while (end < text.size()) {
        const auto c = decodeAt(text, end);
        const std::size_t length = c ? c->length : 1;
        end += length;
        if (!c || !isWhitespace(c->value)) {
            contentEnd = end;
        }
    }
    return text.substr(begin, contentEnd - begin);
}

std::string lowered(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const auto c = decodeAt(text, at)) {
            appendUtf8(out, toLower(c->value));
            at += c->length;
        } else {
            out += text[at++];  // not UTF-8: kept as it is
        }
    }
    return out;
}

bool dropPrefix(std::string& text, std::string_view prefix) {
    if (text.starts_with(prefix)) {
        text.erase(0, prefix.size());
        return true;
    }
    return false;
}

struct Prepared {
    std::string text;  // trimmed, lowered, without "=", scheme and one "www."
    bool exact = false;
};

Prepared prepare(std::string_view typed) {
    Prepared prepared{lowered(trimmed(typed))};
    prepared.exact = dropPrefix(prepared.text, "=");
    if (!dropPrefix(prepared.text, "https://")) {
        dropPrefix(prepared.text, "http://");
    }
    dropPrefix(prepared.text, "www.");
    return prepared;
}

// The host and its first path segment; a "?" ends the segment only when no "/" follows.
std::string hostAndFirstSegment(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) {
        return text;
    }
    const std::string_view rest = std::string_view(text).substr(slash + 1);
    std::size_t segmentEnd = rest.find('/');
    if (segmentEnd == std::string_view::npos) {
        segmentEnd = rest.find('?');
    }
    const std::string_view segment = rest.substr(0, segmentEnd);
    std::string result = text.substr(0, slash);
    if (!segment.empty()) {
        result += '/';
        result += segment;
    }
    return result;
}

}  // namespace

std::string SiteNormalizer::lowercased(std::string_view text) {
    return lowered(text);
}

std::string SiteNormalizer::normalize(std::string_view typed) {
    const Prepared prepared = prepare(typed);
    std::string result = hostAndFirstSegment(prepared.text);
    return prepared.exact ? "=" + result : result;
}

std::string SiteNormalizer::normalizeForMatching(std::string_view typed) {
    const Prepared prepared = prepare(typed);
    return prepared.text.substr(0, prepared.text.find('/'));
}

std::int64_t SiteNormalizer::specificity(std::string_view typed) {
    std::string stored = normalize(typed);
    const bool exact = dropPrefix(stored, "=");
    const auto pieces =
        static_cast<std::int64_t>(std::count(stored.begin(), stored.end(), '/')) + 1;
    return exact ? pieces + 10 : pieces;
}

}  // namespace olvane
