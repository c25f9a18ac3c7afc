#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/foundation/FakeFaviconFetcher.h"
#include "ui/foundation/FaviconService.h"

namespace olvane::ui {
namespace {

namespace fs = std::filesystem;

FaviconFetcher::Result ok(const QColor& color = Qt::blue) {
    return {std::nullopt, 200, test::FakeFaviconFetcher::png(color), "image/png"};
}

QColor centreOf(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

class FaviconServiceTest : public ::testing::Test {
  protected:
    fs::path fileOf(const std::string& key) const { return folder / (key + ".png"); }
    void age(const fs::path& file, double seconds) {
        const double when = loop.clock().unixNow() - seconds;
        timespec times[2];
        times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(when);
        times[0].tv_nsec = times[1].tv_nsec = 0;
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    }

    test::TempHome home;
    platform::sim::ScopedLogCapture log;
    platform::sim::ManualRunLoop loop;
    test::FakeFaviconFetcher fetcher;
    fs::path folder = FaviconService::cacheFolderIn(home.paths());
    std::unique_ptr<FaviconService> service = std::make_unique<FaviconService>(
        loop, loop.clock(), fetcher, folder, QUrl("https://favicons.test/s2"));
};

TEST_F(FaviconServiceTest, SpellingsOfOneSiteShareOneDownloadAndOneFile) {
    std::vector<std::string> calls;
    QImage first;
    auto a = service->favicon("WWW.Site.test", [&](const QImage& icon) {
        calls.push_back("a");
        first = icon;
    });
    auto b = service->favicon("=https://www.site.test/path?q", [&](const QImage& icon) {
        calls.push_back("b");
        EXPECT_EQ(icon, first);
    });
    EXPECT_FALSE(a.icon);
    ASSERT_EQ(fetcher.requests.size(), 1u);
    EXPECT_EQ(fetcher.domainOf(0), "https://favicons.test/s2?domain=site.test&sz=128");

    fetcher.answer(0, ok());
    EXPECT_EQ(calls, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(first.deviceIndependentSize(), QSizeF(64, 64));
    EXPECT_TRUE(
        log->contains("GrayscaleFilter", platform::LogLevel::Info, "Favicon chargé: site.test"));
    EXPECT_EQ(test::permissionsOf(folder), 0700u);
    EXPECT_EQ(test::permissionsOf(fileOf("site.test")), 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // From memory, then from disk in a new run: at once, never through the completion.
    const auto again = service->favicon("site.test", [&](const QImage&) { calls.push_back("c"); });
    ASSERT_TRUE(again.icon);
    EXPECT_FALSE(again.waiting);
    service = std::make_unique<FaviconService>(loop, loop.clock(), fetcher, folder,
                                               QUrl("https://favicons.test/s2"));
    const auto fromDisk =
        service->favicon("site.test", [&](const QImage&) { calls.push_back("d"); });
    ASSERT_TRUE(fromDisk.icon);
    EXPECT_EQ(centreOf(*fromDisk.icon), QColor(Qt::blue));
    EXPECT_EQ(fetcher.requests.size(), 1u);
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(FaviconServiceTest, ACompletionWhoseHandleIsGoneIsNotCalled) {
    int kept = 0;
    int dropped = 0;
    auto keep = service->favicon("site.test", [&](const QImage&) { ++kept; });
    {
        auto gone = service->favicon("site.test", [&](const QImage&) { ++dropped; });
    }
    // A view that goes while another is served is not called either.
    platform::Handle later;
    auto first = service->favicon("site.test", [&](const QImage&) { later.cancel(); });
    later = service->favicon("site.test", [&](const QImage&) { ++dropped; }).waiting;
    fetcher.answer(0, ok());
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(dropped, 0);
}

TEST_F(FaviconServiceTest, FailuresKeepTheWaitingCompletionForALaterDownload) {
    int served = 0;
    auto waiting = service->favicon("site.test", [&](const QImage&) { ++served; });

    fetcher.answer(0, {std::nullopt, 404, "Not found"});
    EXPECT_TRUE(log->lines().empty());
    EXPECT_FALSE(fs::exists(fileOf("site.test")));
    EXPECT_FALSE(service->cachedFavicon("site.test"));
    ASSERT_EQ(fetcher.requests.size(), 2u);

    fetcher.answer(1, {std::nullopt, 200, "<html>pas une image</html>", "image/png"});
    EXPECT_FALSE(service->cachedFavicon("site.test"));
    // An image is only taken from an answer that says it is one.
    fetcher.answer(2, {std::nullopt, 200, test::FakeFaviconFetcher::png(Qt::red), "text/html"});
    EXPECT_FALSE(service->cachedFavicon("site.test"));
    fetcher.answer(3, {std::string("Connexion refusée"), 0, {}});
    EXPECT_TRUE(log->contains("GrayscaleFilter", platform::LogLevel::Error,
                              "⚠️ Erreur favicon site.test: Connexion refusée"));
    EXPECT_FALSE(fs::exists(fileOf("site.test")));
    EXPECT_EQ(served, 0);

    service->prefetchFavicons({"site.test"});
    fetcher.answer(4, ok());
    EXPECT_EQ(served, 1);
}

TEST_F(FaviconServiceTest, FilesOlderThanSevenDaysAreDownloadedAgain) {
    auto waiting = service->favicon("old.test", [](const QImage&) {});
    fetcher.answer(0, ok(Qt::red));
    (void)service->favicon("fresh.test", [](const QImage&) {});
    fetcher.answer(1, ok(Qt::green));
    age(fileOf("old.test"), 7 * 86400 + 1);
    age(fileOf("fresh.test"), 6 * 86400);

    service = std::make_unique<FaviconService>(loop, loop.clock(), fetcher, folder,
                                               QUrl("https://favicons.test/s2"));
    const auto fresh = service->cachedFavicon("fresh.test");
    ASSERT_TRUE(fresh);
    EXPECT_EQ(centreOf(*fresh), QColor(Qt::green));
    EXPECT_EQ(fetcher.requests.size(), 2u);

    EXPECT_FALSE(service->cachedFavicon("old.test"));
    EXPECT_FALSE(fs::exists(fileOf("old.test")));
    ASSERT_EQ(fetcher.requests.size(), 3u);
    EXPECT_TRUE(fetcher.domainOf(2).contains("domain=old.test"));
}

TEST_F(FaviconServiceTest, FiveArrivalsATenthApartRaiseOneUpdateAfterTheLast) {
    int updates = 0;
    auto observation = service->observeUpdates([&] { ++updates; });
    service->prefetchFavicons({"a.test", "b.test", "c.test", "d.test", "e.test"});
    ASSERT_EQ(fetcher.requests.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        fetcher.answer(i, ok());
        loop.advanceSeconds(0.1);
    }
    EXPECT_EQ(updates, 0);
    loop.advanceSeconds(0.19);
    EXPECT_EQ(updates, 0);
    loop.advanceSeconds(0.01);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(service->updateTrigger(), 1);
}

TEST_F(FaviconServiceTest, TheKeyIsOneEncodedQueryValueAndAnEmptyKeyIsNeverFetched) {
    (void)service->cachedFavicon("a.test&sz=1;x+y");
    ASSERT_EQ(fetcher.requests.size(), 1u);
    EXPECT_EQ(fetcher.domainOf(0),
              "https://favicons.test/s2?domain=a.test%26sz%3D1%3Bx%2By&sz=128");

    for (const char* empty : {"", "  ", "=", "https://", "www./path"}) {
        auto lookup = service->favicon(empty, [](const QImage&) { ADD_FAILURE(); });
        EXPECT_FALSE(lookup.icon);
        EXPECT_FALSE(lookup.waiting);
        service->prefetchFavicons({empty});
    }
    EXPECT_EQ(fetcher.requests.size(), 1u);
    EXPECT_FALSE(fs::exists(folder / ".png"));
}

TEST_F(FaviconServiceTest, ADownloadEndsWithTheService) {
    auto waiting = service->favicon("site.test", [](const QImage&) { ADD_FAILURE(); });
    service.reset();
    EXPECT_EQ(fetcher.cancelled, 1);
    waiting.waiting.cancel();
}

}  // namespace
}  // namespace olvane::ui
