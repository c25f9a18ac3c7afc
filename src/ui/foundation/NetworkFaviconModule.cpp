#include "ui/foundation/NetworkFaviconModule.h"

#include "ui/foundation/NetworkFaviconFetcher.h"

extern "C" olvane::ui::FaviconFetcher* olvane_make_network_favicon_fetcher() {
    return new olvane::ui::NetworkFaviconFetcher;
}
