#include <gtest/gtest.h>

#include <QBuffer>
#include <QTcpServer>
#include <QTcpSocket>
#include <filesystem>

#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/LoadedFaviconFetcher.h"
#include "ui/foundation/NetworkFaviconFetcher.h"

namespace olvane::ui {
namespace {

using test::processEventsUntil;

// A one-page HTTP server on 127.0.0.1: every request gets the same PNG, followed by `padding`
// bytes and with no length said when there is padding.
class PngServer {
  public:
    explicit PngServer(int padding = 0) {
        QImage image(128, 128, QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        QBuffer buffer(&png_);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        png_.append(padding, '\0');
        saysLength_ = padding == 0;
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { serveNext(); });
        server_.listen(QHostAddress::LocalHost);
    }
    QUrl address() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/s2/favicons").arg(server_.serverPort()));
    }
    const QList<QByteArray>& requestLines() const { return requestLines_; }

  private:
    void serveNext() {
        QTcpSocket* socket = server_.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            received_ += socket->readAll();
            if (!received_.contains("\r\n\r\n")) {
                return;
            }
            requestLines_ << received_.left(received_.indexOf("\r\n"));
            received_.clear();
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n");
            if (saysLength_) {
                socket->write("Content-Length: " + QByteArray::number(png_.size()) + "\r\n");
            }
            socket->write("\r\n");
            socket->write(png_);
            socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
    QByteArray png_;
    bool saysLength_ = true;
    QByteArray received_;
    QList<QByteArray> requestLines_;
};

// An address where nothing listens.
QUrl refusingAddress() {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const auto port = closed.serverPort();
    closed.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/s2/favicons").arg(port));
}

// Through the module the program opens at its first favicon.
TEST(NetworkFaviconFetcher, FetchesAndCachesAPngAndLogsARefusedConnection) {
    test::TempHome home;
    platform::sim::ScopedLogCapture log;
    platform::sim::ManualRunLoop loop;
    LoadedFaviconFetcher fetcher;
    PngServer server;
    const auto folder = FaviconService::cacheFolderIn(home.paths());

    FaviconService service(loop, loop.clock(), fetcher, folder, server.address());
    QImage received;
    auto lookup = service.favicon("Site.test&x", [&](const QImage& icon) { received = icon; });
    ASSERT_TRUE(processEventsUntil([&] { return !received.isNull(); }, 10'000));
    EXPECT_EQ(received.pixelColor(64, 64), QColor(Qt::magenta));
    EXPECT_EQ(server.requestLines(),
              QList<QByteArray>{"GET /s2/favicons?domain=site.test%26x&sz=128 HTTP/1.1"});
    EXPECT_TRUE(std::filesystem::exists(folder / "site.test&x.png"));

    FaviconService offline(loop, loop.clock(), fetcher, folder, refusingAddress());
    auto waiting = offline.favicon("absent.test", [](const QImage&) { ADD_FAILURE(); });
    ASSERT_TRUE(processEventsUntil(
        [&] { return log->contains("⚠️ Erreur favicon absent.test: Connexion refusée"); },
        10'000));
}

TEST(NetworkFaviconFetcher, ABodyLongerThanOneMegabyteIsStoppedAndNotHandedOver) {
    NetworkFaviconFetcher fetcher;
    PngServer server(static_cast<int>(FaviconFetcher::kMaximumBodyBytes));
    std::optional<FaviconFetcher::Result> result;
    auto download = fetcher.fetch(server.address(), [&](const auto& answer) { result = answer; });
    ASSERT_TRUE(processEventsUntil([&] { return result.has_value(); }, 10'000));
    EXPECT_EQ(result->httpStatus, 200);
    EXPECT_EQ(result->contentType, "image/png");
    EXPECT_TRUE(result->body.isEmpty());
}

}  // namespace
}  // namespace olvane::ui
