#include "safari-extension/PageUrl.h"

#include <algorithm>
#include <cctype>

namespace olvane::safari {
namespace {

using std::string_view;

bool isSchemeChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

// "scheme:" at the start of a reference; a colon after a "/" or "?" belongs to the path.
string_view dropScheme(string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text.front()))) {
        return text;
    }
    const auto colon = text.find(':');
    if (colon == string_view::npos ||
        !std::all_of(text.begin(), text.begin() + static_cast<long>(colon), isSchemeChar)) {
        return text;
    }
    return text.substr(colon + 1);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// A "%" without two hex digits stays as written.
std::string percentDecoded(string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool allDigits(string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// userinfo@host:port → host; nullopt when the port is not a number or a bracket is unclosed.
std::optional<std::string> hostOfAuthority(string_view authority) {
    if (const auto at = authority.rfind('@'); at != string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    string_view host = authority;
    string_view port;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == string_view::npos) {
            return std::nullopt;
        }
        host = authority.substr(1, close - 1);
        const auto after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':')) {
            return std::nullopt;
        }
        port = after.empty() ? after : after.substr(1);
    } else if (const auto colon = authority.rfind(':'); colon != string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (!allDigits(port)) {
        return std::nullopt;
    }
    return percentDecoded(host);
}

}  // namespace

std::optional<PageUrl> PageUrl::parse(string_view text) {
    const bool hasControl = std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    if (text.empty() || hasControl) {
        return std::nullopt;
    }
    string_view rest = dropScheme(text);
    const auto end = rest.find_first_of("?#");
    rest = rest.substr(0, end);
    std::string host;
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const auto slash = rest.find('/');
        auto parsed = hostOfAuthority(rest.substr(0, slash));
        if (!parsed) {
            return std::nullopt;
        }
        host = std::move(*parsed);
        rest = slash == string_view::npos ? string_view() : rest.substr(slash);
    }
    return PageUrl(std::move(host), percentDecoded(rest));
}

}  // namespace olvane::safari
