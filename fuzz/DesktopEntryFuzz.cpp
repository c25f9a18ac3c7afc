// Arbitrary bytes as a desktop entry the Safari stand-in reads to start the application, under
// the sanitizers. And a command line quoted as desktop entries quote it (the input cut at NUL
// bytes) comes back whole from the Exec key.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "safari-extension/DesktopEntry.h"

namespace {

using namespace olvane;
using fuzz::check;

const std::filesystem::path kLocation = "/usr/share/applications/so.olvane.mac.desktop";

// Double quotes around each argument, its reserved characters escaped, then the key file's own
// escapes over the whole value.
std::string execValue(const std::vector<std::string>& args) {
    std::string quoted;
    for (const auto& arg : args) {
        quoted += quoted.empty() ? "\"" : " \"";
        for (const char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                quoted += '\\';
            } else if (c == '%') {
                quoted += '%';
            }
            quoted += c;
        }
        quoted += '"';
    }
    std::string value;
    for (const char c : quoted) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

void checkArbitraryText(std::string_view text) {
    if (const auto entry = safari::DesktopEntry::parse(text, kLocation)) {
        (void)entry->commandLine();
    }
}

void checkCommandRoundTrip(std::string_view input) {
    std::vector<std::string> args;
    while (args.size() < 16) {
        const auto nul = input.find('\0');
        args.emplace_back(input.substr(0, nul));
        if (nul == std::string_view::npos) {
            break;
        }
        input.remove_prefix(nul + 1);
    }
    const auto text =
        "[Desktop Entry]\nType=Application\nName=OlvaneMac\nExec=" + execValue(args) + "\n";
    const auto entry = safari::DesktopEntry::parse(text, kLocation);
    check(entry.has_value());
    check(entry->commandLine() == args);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkArbitraryText(input);
    checkCommandRoundTrip(input);
    return 0;
}
