#pragma once

#include <memory>

#include "platform/LoadableModule.h"
#include "ui/foundation/FaviconFetcher.h"

namespace olvane::ui {

// The network's favicon requests, from a module opened at the first request: Qt's network access
// and the libraries it brings (Kerberos, proxies) stay out of the start. Without the module every
// request ends as a transport error, and the reason is logged once.
class LoadedFaviconFetcher final : public FaviconFetcher {
  public:
    LoadedFaviconFetcher();
    ~LoadedFaviconFetcher() override;

    platform::Handle fetch(const QUrl& url, Completion completion) override;

  private:
    FaviconFetcher* network();

    platform::LoadableModule module_;
    std::unique_ptr<FaviconFetcher> network_;
    bool tried_ = false;
};

}  // namespace olvane::ui
