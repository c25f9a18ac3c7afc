#include "safari-extension/DesktopEntry.h"

#include <map>

#include "platform/FileIO.h"

namespace olvane::safari {
namespace {

using std::string_view;

string_view trimmed(string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
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

// The unlocalised keys of the [Desktop Entry] group.
std::map<std::string, std::string, std::less<>> mainGroup(string_view text) {
    std::map<std::string, std::string, std::less<>> keys;
    bool inMainGroup = false;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const string_view line = trimmed(text.substr(0, newline));
        text = newline == string_view::npos ? string_view() : text.substr(newline + 1);
        if (line.starts_with('[')) {
            inMainGroup = line == "[Desktop Entry]";
        } else if (inMainGroup && !line.starts_with('#')) {
            const auto equals = line.find('=');
            if (equals != string_view::npos) {
                keys.emplace(std::string(trimmed(line.substr(0, equals))),
                             unescapedValue(trimmed(line.substr(equals + 1))));
            }
        }
    }
    return keys;
}

// Splits an Exec value into arguments, undoing its double-quoting; nullopt when a quote is open.
std::optional<std::vector<std::string>> splitArguments(string_view exec) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (inArgument) {
                args.push_back(std::exchange(current, {}));
                inArgument = false;
            }
        } else {
            inArgument = true;
            if (c == '"') {
                quoted = true;
            } else {
                current += c;
            }
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (inArgument) {
        args.push_back(current);
    }
    return args;
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::parse(string_view text,
                                                const std::filesystem::path& location) {
    const auto keys = mainGroup(text);
    const auto value = [&](string_view key) {
        const auto it = keys.find(key);
        return it == keys.end() ? std::string() : it->second;
    };
    if (value("Type") != "Application" || value("Hidden") == "true" || value("Exec").empty()) {
        return std::nullopt;
    }
    DesktopEntry entry;
    entry.exec_ = value("Exec");
    entry.name_ = value("Name");
    entry.icon_ = value("Icon");
    entry.location_ = location;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::load(const std::filesystem::path& location) {
    const auto text = platform::readWholeFile(location);
    return text ? parse(*text, location) : std::nullopt;
}

std::vector<std::string> DesktopEntry::commandLine() const {
    const auto args = splitArguments(exec_);
    if (!args) {
        return {};
    }
    std::vector<std::string> command;
    for (const auto& arg : *args) {
        if (arg == "%i") {
            if (!icon_.empty()) {
                command.insert(command.end(), {"--icon", icon_});
            }
            continue;
        }
        std::string expanded;
        bool onlyFieldCodes = !arg.empty();
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] != '%' || i + 1 == arg.size()) {
                expanded += arg[i];
                onlyFieldCodes = false;
                continue;
            }
            switch (arg[++i]) {
                case '%':
                    expanded += '%';
                    onlyFieldCodes = false;
                    break;
                case 'c':
                    expanded += name_;
                    onlyFieldCodes = false;
                    break;
                case 'k':
                    expanded += location_.string();
                    onlyFieldCodes = false;
                    break;
                default:  // files, URLs and deprecated codes: there are none to pass
                    break;
            }
        }
        if (!onlyFieldCodes) {
            command.push_back(expanded);
        }
    }
    return command;
}

}  // namespace olvane::safari
