#pragma once

#include <QNetworkAccessManager>

#include "ui/foundation/FaviconFetcher.h"

namespace olvane::ui {

// Favicon requests over Qt's network access on the main thread: one GET, redirects followed, no
// retry; a transfer that stalls for 10 s is a transport error, one longer than
// kMaximumBodyBytes is stopped and answers without a body.
class NetworkFaviconFetcher final : public FaviconFetcher {
  public:
    static constexpr int kTransferTimeoutMs = 10'000;

    platform::Handle fetch(const QUrl& url, Completion completion) override;

  private:
    QNetworkAccessManager network_;
};

}  // namespace olvane::ui
