#include "platform/DesktopEntryKeys.h"

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

// The escapes of string values: \s \n \t \r \\.
std::string unescapedValue(string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (const char c = value[++i]) {
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
