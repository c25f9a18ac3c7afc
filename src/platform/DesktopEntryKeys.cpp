#include "platform/DesktopEntryKeys.h"

#include <algorithm>

namespace olvane::platform {
namespace {

using std::string_view;

string_view trimmed(string_view text) {
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

// The escapes of string values: \s \n \t \r \\. The text between them is copied in runs.
std::string unescapedValue(string_view value) {
    std::string out;
    out.reserve(value.size());
    std::size_t i = 0;
    while (i < value.size()) {
        const auto backslash = std::min(value.find('\\', i), value.size());
        out.append(value.substr(i, backslash - i));
        if (backslash + 1 >= value.size()) {
            out.append(value.substr(backslash));  // a backslash that ends the value stays
            break;
        }
        switch (const char c = value[backslash + 1]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                out += '\\';
                out += c;
        }
        i = backslash + 2;
    }
    return out;
}

}  // namespace

std::optional<DesktopEntryKeys> DesktopEntryKeys::parse(string_view text) {
    DesktopEntryKeys entry;
    bool sawMainGroup = false;
    bool inMainGroup = false;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const string_view line = trimmed(text.substr(0, newline));
        text = newline == string_view::npos ? string_view() : text.substr(newline + 1);
        if (line.starts_with('[')) {
            inMainGroup = line == "[Desktop Entry]";
            sawMainGroup = sawMainGroup || inMainGroup;
        } else if (inMainGroup && !line.starts_with('#')) {
            const auto equals = line.find('=');
            if (equals != string_view::npos) {
                // The first occurrence of a key counts.
                entry.keys_.emplace(std::string(trimmed(line.substr(0, equals))),
                                    unescapedValue(trimmed(line.substr(equals + 1))));
            }
        }
    }
    if (!sawMainGroup) {
        return std::nullopt;
    }
    return entry;
}

std::string DesktopEntryKeys::value(string_view key) const {
    const auto it = keys_.find(key);
    return it == keys_.end() ? std::string() : it->second;
}

}  // namespace olvane::platform
