#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "model/RedListConfig.h"

namespace olvane {

// The website target for a site a browser reports: among the website targets whose entry
// matches the site and that have some effect on, the most specific one, the earlier in the list
// among equals. An entry matches the site's host and its subdomains; an entry with a path
// matches that path and the paths below it; an exact entry ("=") only the very path it names
// (none for a bare host). Absent when none applies.
std::optional<RedListConfig> websiteTargetFor(std::string_view domain,
                                              const std::vector<RedListConfig>& targets);

}  // namespace olvane
