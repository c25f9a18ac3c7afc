#pragma once

#include <QByteArray>
#include <QUrl>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/Handle.h"

namespace olvane::ui {

// How a favicon request travels. The completion runs on the run loop's thread, once, unless the
// returned handle is destroyed first.
class FaviconFetcher {
  public:
    // A longer body is not taken: its transfer is stopped and the result has no body.
    static constexpr std::size_t kMaximumBodyBytes = 1024 * 1024;

    struct Result {
        // Set when no answer came (no network, refused, time-out): its description, in French
        // where we know it.
        std::optional<std::string> transportError;
        int httpStatus = 0;
        QByteArray body;
        // The Content-Type the answer gave, as given.
        std::string contentType = {};
    };
    using Completion = std::function<void(const Result&)>;

    virtual ~FaviconFetcher() = default;
    virtual platform::Handle fetch(const QUrl& url, Completion completion) = 0;
};

}  // namespace olvane::ui
