#pragma once

#include <QBuffer>
#include <QImage>
#include <QUrlQuery>
#include <map>
#include <string>

#include "platform/RunLoop.h"
#include "ui/foundation/FaviconFetcher.h"

namespace olvane::test {

// Answers on the loop with a square of the colour given for a site, or as if offline.
class FixtureFaviconFetcher final : public ui::FaviconFetcher {
  public:
    explicit FixtureFaviconFetcher(platform::RunLoop& loop) : loop_(loop) {}

    platform::Handle fetch(const QUrl& url, Completion completion) override {
        const auto domain = QUrlQuery(url).queryItemValue(QStringLiteral("domain")).toStdString();
        Result result;
        if (const auto it = colours.find(domain); it != colours.end()) {
            result.httpStatus = 200;
            result.body = png(it->second);
            result.contentType = "image/png";
        } else {
            result.transportError = "hors ligne";
        }
        return loop_.post([completion = std::move(completion), result] { completion(result); });
    }

    std::map<std::string, QColor> colours;

  private:
    static QByteArray png(const QColor& colour) {
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    platform::RunLoop& loop_;
};

}  // namespace olvane::test
