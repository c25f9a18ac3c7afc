#include "ui/foundation/LoadedFaviconFetcher.h"

#include <QTimer>
#include <utility>

#include "model/Logger.h"
#include "olvane_network_favicons_build_id.h"
#include "ui/foundation/NetworkFaviconModule.h"

namespace olvane::ui {

LoadedFaviconFetcher::LoadedFaviconFetcher()
    : module_(kNetworkFaviconModuleFile, OLVANE_NETWORK_FAVICON_MODULE,
              OLVANE_NETWORK_FAVICONS_BUILD_ID) {}

LoadedFaviconFetcher::~LoadedFaviconFetcher() = default;

FaviconFetcher* LoadedFaviconFetcher::network() {
    if (std::exchange(tried_, true)) {
        return network_.get();
    }
    auto* make = reinterpret_cast<MakeNetworkFaviconFetcher*>(
        module_.entryPoint(kMakeNetworkFaviconFetcher));
    if (!make) {
        Logger::app().error("Favicons indisponibles, module réseau non chargé : %s",
                            module_.failure());
        return nullptr;
    }
    network_.reset(make());
    return network_.get();
}

platform::Handle LoadedFaviconFetcher::fetch(const QUrl& url, Completion completion) {
    if (FaviconFetcher* fetcher = network()) {
        return fetcher->fetch(url, std::move(completion));
    }
    // Answered from the loop, as a request would be.
    auto pending = std::make_shared<Completion>(std::move(completion));
    QTimer::singleShot(0, [pending] {
        if (auto done = std::exchange(*pending, nullptr)) {
            Result result;
            result.transportError = "Accès au réseau indisponible";
            done(result);
        }
    });
    return platform::Handle([pending] { *pending = nullptr; });
}

}  // namespace olvane::ui
