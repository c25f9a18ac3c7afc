// The site matching of SafariExtensionHandler: one matcher for allowed sites and delay entries.
#include <algorithm>
#include <vector>

#include "model/SiteNormalizer.h"
#include "model/exchange/RulesFileFormat.h"
#include "safari-extension/PageUrl.h"
#include "safari-extension/SafariExtensionHandler.h"

namespace olvane::safari {
namespace {

using std::string_view;

string_view withoutWww(string_view host) {
    return host.starts_with("www.") ? host.substr(4) : host;
}

std::vector<string_view> pathComponents(string_view path) {
    std::vector<string_view> components;
    while (!path.empty()) {
        const auto slash = path.find('/');
        if (const auto piece = path.substr(0, slash); !piece.empty()) {
            components.push_back(piece);
        }
        path = slash == string_view::npos ? string_view() : path.substr(slash + 1);
    }
    return components;
}

}  // namespace

std::string SafariExtensionHandler::normalizedHost(string_view url) {
    const auto parsed = PageUrl::parse(url);
    if (!parsed) {
        return "";
    }
    return std::string(withoutWww(SiteNormalizer::lowercased(parsed->host())));
}

bool SafariExtensionHandler::matchesSite(string_view entry, string_view host, string_view path) {
    const bool exact = entry.starts_with('=');
    if (exact) {
        entry.remove_prefix(1);
    }
    const std::string lowered = SiteNormalizer::lowercased(host);
    const string_view pageHost = withoutWww(lowered);
    const auto components = pathComponents(path);
    const string_view first = components.empty() ? string_view() : components.front();

    const auto slash = entry.find('/');
    if (slash == string_view::npos) {
        return SiteNormalizer::isHostOrSubdomain(pageHost, entry) && (!exact || components.empty());
    }
    // Only the page's first path component is compared, so an entry path with a second
    // segment never matches.
    const string_view entryHost = entry.substr(0, slash);
    const string_view entryPath = entry.substr(slash + 1);
    return SiteNormalizer::isHostOrSubdomain(pageHost, entryHost) && first == entryPath &&
           (!exact || components.size() == 1);
}

std::optional<Json> SafariExtensionHandler::delayEntry(string_view domain, string_view path,
                                                       const Json& rules) {
    if (!rules.is_object()) {
        return std::nullopt;
    }
    const auto section = rules.find(exchange::kRedListSection);
    if (section == rules.end() || !section->is_object()) {
        return std::nullopt;
    }
    const auto sites = section->find(exchange::kSitesKey);
    if (sites == section->end() || !sites->is_array() ||
        !std::all_of(sites->begin(), sites->end(), [](const Json& e) { return e.is_object(); })) {
        return std::nullopt;
    }
    for (const auto& entry : *sites) {
        const auto site = json::stringMember(entry, "domain");
        if (site && json::boolMember(entry, "delay").value_or(false) &&
            matchesSite(*site, domain, path)) {
            return entry;
        }
    }
    return std::nullopt;
}

}  // namespace olvane::safari
