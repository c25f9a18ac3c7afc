#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace olvane {

// The one stored form of a site the user typed or visited, so that entries compare by plain
// string equality. A leading "=" marks an exact-match entry; it survives normalisation and makes
// the entry more specific.
class SiteNormalizer {
  public:
    SiteNormalizer() = delete;

    // Trimmed, lower-cased, without scheme or leading "www.", cut after the first path segment.
    static std::string normalize(std::string_view typed);
    // The host alone: no "=", no scheme, no "www.", nothing from the first "/" on.
    static std::string normalizeForMatching(std::string_view typed);
    // 1 for a host, 2 with a path segment; 10 more for an exact-match entry.
    static std::int64_t specificity(std::string_view typed);

    // Lower-cased as stored entries are (Unicode letters too), for comparing visited hosts.
    static std::string lowercased(std::string_view text);

    // False for text whose host is empty ("", "=", "https://", "=https://"): such text must
    // never become a stored entry nor a matching target, since it would match no site or all.
    static bool hasHost(std::string_view typed) { return !normalizeForMatching(typed).empty(); }

    // Whether a visited host is the entry's host or one of its subdomains ("a.site.test" for
    // "site.test", never "wwwsite.test"). An empty entry host matches nothing.
    static bool isHostOrSubdomain(std::string_view host, std::string_view entryHost) {
        if (entryHost.empty()) {
            return false;
        }
        return host == entryHost || (host.size() > entryHost.size() && host.ends_with(entryHost) &&
                                     host[host.size() - entryHost.size() - 1] == '.');
    }

    // `items` ordered by the specificity of their site entry, most specific first; items of
    // equal specificity keep their relative order.
    template <typename T, typename SiteOf>
    static std::vector<T> mostSpecificFirst(std::vector<T> items, SiteOf siteOf) {
        std::vector<std::int64_t> keys;
        keys.reserve(items.size());
        for (const auto& item : items) {
            keys.push_back(specificity(siteOf(item)));
        }
        std::vector<std::size_t> order(items.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&keys](std::size_t a, std::size_t b) { return keys[a] > keys[b]; });
        std::vector<T> sorted;
        sorted.reserve(items.size());
        for (const std::size_t index : order) {
            sorted.push_back(std::move(items[index]));
        }
        return sorted;
    }
};

}  // namespace olvane
