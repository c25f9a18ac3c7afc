#pragma once

namespace olvane::ui {

class FaviconFetcher;

// The entry point of the module that holds NetworkFaviconFetcher: a new fetcher, which the
// caller owns.
using MakeNetworkFaviconFetcher = FaviconFetcher*();
inline constexpr const char* kMakeNetworkFaviconFetcher = "olvane_make_network_favicon_fetcher";
inline constexpr const char* kNetworkFaviconModuleFile = "olvane_network_favicons.so";

}  // namespace olvane::ui
