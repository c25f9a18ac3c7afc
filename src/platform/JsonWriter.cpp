#include "platform/JsonWriter.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/Json.h"

namespace olvane {
namespace {

// Control characters without a short escape, as the JSON library writes them.
void appendUnicodeEscape(std::string& out, unsigned char c) {
    constexpr std::string_view kHex = "0123456789abcdef";
    out += "\\u00";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

void appendEscapedAscii(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    appendUnicodeEscape(out, static_cast<unsigned char>(c));
                } else {
                    out += c;
                }
        }
    }
}

}  // namespace

void JsonWriter::separate() {
    if (needsComma_) {
        text_ += ',';
        needsComma_ = false;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    text_ += '{';
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    text_ += '}';
    finishValue();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    text_ += '[';
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    text_ += ']';
    finishValue();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    value(name);
    text_ += ':';
    needsComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    text_ += flag ? "true" : "false";
    finishValue();
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    separate();
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
    text_.append(digits.data(), end);
    finishValue();
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    separate();
    // The library's shortest form ("1.0", "1e+16"), which has no standard equal.
    text_ += json::dumpCompact(Json(number));
    finishValue();
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    const bool ascii =
        std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        text_ += '"';
        appendEscapedAscii(text_, text);
        text_ += '"';
    } else {
        // Multi-byte characters and invalid bytes: the library's own check and replacement.
        text_ += json::dumpCompact(Json(std::string(text)));
    }
    finishValue();
    return *this;
}

}  // namespace olvane
