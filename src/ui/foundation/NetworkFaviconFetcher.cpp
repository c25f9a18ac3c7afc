#include "ui/foundation/NetworkFaviconFetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <memory>

namespace olvane::ui {
namespace {

// The description of the errors a user meets without a network, in the interface's language.
std::string describe(QNetworkReply& reply) {
    switch (reply.error()) {
        case QNetworkReply::ConnectionRefusedError:
            return "Connexion refusée";
        case QNetworkReply::HostNotFoundError:
            return "Serveur introuvable";
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError:
            return "Délai d’attente dépassé";
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
            return "Connexion à Internet indisponible";
        case QNetworkReply::SslHandshakeFailedError:
            return "Connexion sécurisée impossible";
        default:
            return reply.errorString().toStdString();
    }
}

}  // namespace

platform::Handle NetworkFaviconFetcher::fetch(const QUrl& url, Completion completion) {
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    QPointer<QNetworkReply> reply = network_.get(request);
    auto pending = std::make_shared<Completion>(std::move(completion));
    auto tooLong = std::make_shared<bool>(false);
    // Stopped as soon as it says or shows it is too long, so that it never fills the memory.
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, tooLong](qint64 received, qint64 total) {
                         constexpr auto limit = static_cast<qint64>(kMaximumBodyBytes);
                         if (!*tooLong && (received > limit || total > limit)) {
                             *tooLong = true;
                             reply->abort();
                         }
                     });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, pending, tooLong] {
        reply->deleteLater();
        auto done = std::exchange(*pending, nullptr);
        if (!done) {
            return;
        }
        Result result;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid()) {
            result.httpStatus = status.toInt();
            result.contentType =
                reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString();
            if (!*tooLong) {
                result.body = reply->readAll();
            }
        } else {
            result.transportError = describe(*reply);
        }
        done(result);
    });
    return platform::Handle([reply, pending] {
        *pending = nullptr;
        if (reply) {
            reply->abort();
            reply->deleteLater();
        }
    });
}

}  // namespace olvane::ui
