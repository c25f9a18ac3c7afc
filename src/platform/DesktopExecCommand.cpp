#include "platform/DesktopExecCommand.h"

#include <optional>
#include <utility>

namespace olvane::platform {
namespace {

using std::string_view;

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

std::vector<std::string> desktopExecCommand(string_view exec, const DesktopExecFields& fields) {
    const auto args = splitArguments(exec);
    if (!args) {
        return {};
    }
    std::vector<std::string> command;
    for (const auto& arg : *args) {
        if (arg == "%i") {
            if (!fields.icon.empty()) {
                command.insert(command.end(), {"--icon", fields.icon});
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
                    expanded += fields.name;
                    onlyFieldCodes = false;
                    break;
                case 'k':
                    expanded += fields.location.string();
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

}  // namespace olvane::platform
