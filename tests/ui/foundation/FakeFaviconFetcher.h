#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <memory>
#include <utility>
#include <vector>

#include "ui/foundation/FaviconFetcher.h"

namespace olvane::test {

// Records the requests; the test answers them. No network.
class FakeFaviconFetcher final : public ui::FaviconFetcher {
  public:
    struct Request {
        QUrl url;
        std::shared_ptr<Completion> completion;
    };

    platform::Handle fetch(const QUrl& url, Completion completion) override {
        auto shared = std::make_shared<Completion>(std::move(completion));
        requests.push_back({url, shared});
        return platform::Handle([shared, this] {
            if (*shared) {
                ++cancelled;
            }
            *shared = nullptr;
        });
    }

    // Answers the request `index` (its completion runs at most once).
    void answer(std::size_t index, const Result& result) {
        auto completion = std::exchange(*requests.at(index).completion, nullptr);
        ASSERT_TRUE(completion) << "request " << index << " is no longer waiting";
        completion(result);
    }
    QString domainOf(std::size_t index) const {
        return requests.at(index).url.toString(QUrl::FullyEncoded);
    }

    // A PNG of one colour, as the favicon service answers.
    static QByteArray png(const QColor& color) {
        QImage image(128, 128, QImage::Format_ARGB32);
        image.fill(color);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    std::vector<Request> requests;
    int cancelled = 0;
};

}  // namespace olvane::test
