// The browser side as users meet it: Debian's Chromium, headless, loads a small extension that
// finds olvanemac-host through the manifest our installer wrote into Chromium's folder of a
// temporary home, and talks to it. The extension reports what it heard over HTTP on 127.0.0.1;
// the host's status files then show Chrome connected.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "browser/ExtensionAccompanimentCoordinator.h"
#include "browser/ExtensionStatusService.h"
#include "browser/NativeHostManifests.h"
#include "model/SettingsManager.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/Descriptor.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/ProgramSearch.h"
#include "platform/linux/SystemClock.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "platform/sim/ScriptedSystemEvents.h"
#include "platform/sim/SimSafariExtensionManager.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One-shot HTTP endpoint on 127.0.0.1 that takes the extension's report.
class ReportServer {
  public:
    ReportServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
    }
    ~ReportServer() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    bool ready() const { return port_ != 0; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/report"; }

    // The body of the first request within `timeout`.
    std::optional<std::string> awaitReport(std::chrono::milliseconds timeout) {
        pollfd waiting{fd_, POLLIN, 0};
        if (::poll(&waiting, 1, static_cast<int>(timeout.count())) != 1) {
            return std::nullopt;
        }
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            return std::nullopt;
        }
        std::string request;
        std::optional<std::string> body;
        char buffer[4096];
        pollfd reading{client, POLLIN, 0};
        while (!body && ::poll(&reading, 1, 10'000) == 1) {
            const auto n = ::read(client, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            request.append(buffer, static_cast<std::size_t>(n));
            body = completeBody(request);
        }
        const std::string reply = "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n";
        (void)platform::writeAllToDescriptor(client, reply);
        ::close(client);
        return body;
    }

  private:
    static std::optional<std::string> completeBody(const std::string& request) {
        const auto headersEnd = request.find("\r\n\r\n");
        if (headersEnd == std::string::npos) {
            return std::nullopt;
        }
        std::size_t length = 0;
        for (const auto* name : {"Content-Length: ", "content-length: "}) {
            if (const auto at = request.find(name); at != std::string::npos && at < headersEnd) {
                length = std::stoul(request.substr(at + std::string_view(name).size()));
            }
        }
        const auto body = request.substr(headersEnd + 4);
        return body.size() >= length ? std::optional(body.substr(0, length)) : std::nullopt;
    }

    int fd_ = -1;
    std::uint16_t port_ = 0;
};

// The test extension, copied where the test can tell it the report URL.
fs::path extensionWithReportUrl(const fs::path& folder, const std::string& url) {
    fs::copy(fs::path(OLVANE_SOURCE_DIR) / "tests/browser/extension", folder,
             fs::copy_options::recursive);
    EXPECT_TRUE(platform::writeFileInPlace(folder / "config.json",
                                           json::dumpCompact(Json{{"reportUrl", url}})));
    return folder;
}

std::optional<double> timestampIn(const fs::path& file) {
    const auto text = platform::readWholeFile(file);
    const auto object = text ? json::parseObject(*text) : std::nullopt;
    return object ? json::numberMember(*object, "timestamp") : std::nullopt;
}

TEST(ChromiumEndToEnd, TheExtensionFindsTheHostThroughOurManifestAndShowsChromeConnected) {
    const auto chromium = platform::findProgramOnPath("chromium");
    if (!chromium) {
        GTEST_SKIP() << "Chromium absent : scripts/test l’installe (paquet chromium de Debian)";
    }
    test::TempHome home;
    const auto paths = home.paths();
    const auto host = test::builtExecutable("src/host/olvanemac-host");
    ASSERT_TRUE(installNativeHostManifests({paths, host, InstalledBrowsers::detect()}));
    ASSERT_TRUE(fs::exists(chromiumManifestFolder(paths) / kNativeHostManifestFile));
    ASSERT_TRUE(platform::ensurePrivateFolder(paths.dataFolder()));
    ASSERT_TRUE(exchange::writeExchangeFile(paths.dataFolder() / "rules.json",
                                            {{"youtube", {{"hideShorts", true}}}}));

    ReportServer server;
    ASSERT_TRUE(server.ready());
    const auto extension = extensionWithReportUrl(home.root() / "extension", server.url());
    const platform::os::SystemClock clock;
    const double launched = clock.unixNow();
    // Chromium reads the manifests of the profile it runs: the user's own, the one our
    // installer wrote into.
    test::ChildProcess browser(
        "/bin/sh",
        {"-c", "exec \"$@\" >/dev/null 2>&1", "sh", chromium->string(), "--headless",
         "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--user-data-dir=" + (paths.configHome() / "chromium").string(),
         "--load-extension=" + extension.string(), "about:blank"});

    const auto report = server.awaitReport(90s);
    // The site comes after the ping: let the host write it before the browser goes.
    const auto siteFile = paths.dataFolder() / "chrome-site.json";
    for (int i = 0; report && i < 100 && !timestampIn(siteFile); ++i) {
        std::this_thread::sleep_for(100ms);
    }
    browser.signal(SIGTERM);
    const auto exit = browser.wait(30s);
    if (!exit) {
        browser.signal(SIGKILL);
    }
    ASSERT_TRUE(report) << "aucun rapport de l’extension";
    const auto heard = json::parseObject(*report);
    ASSERT_TRUE(heard) << *report;
    ASSERT_FALSE(heard->contains("disconnected")) << *report;
    std::map<std::string, Json> messages;
    for (const auto& message : heard->at("received")) {
        messages[message.value("type", "")] = message;
    }
    EXPECT_EQ(messages["RULES"]["rules"], (Json{{"youtube", {{"hideShorts", true}}}}));
    EXPECT_TRUE(messages.contains("PONG")) << *report;

    const auto site = platform::readWholeFile(siteFile);
    ASSERT_TRUE(site);
    EXPECT_EQ(json::parseObject(*site)->value("domain", ""), "youtube.com");
    const auto health = timestampIn(paths.dataFolder() / "chrome-health.json");
    ASSERT_TRUE(health);
    EXPECT_GE(*health, launched);

    // Chrome, as the window manager would show it, launched when the test started Chromium.
    platform::sim::ManualRunLoop loop;
    platform::sim::SimWorkspace workspace;
    workspace.launch({"com.google.Chrome", "Chromium", browser.pid(), launched});
    platform::sim::SimWindowServer windows;
    platform::sim::ScriptedSystemEvents systemEvents;
    platform::NotificationCenter notifications;
    platform::sim::SimSafariExtensionManager safari;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings(store, clock);
    platform::Observable<bool> prompt{false};
    platform::Observable<std::map<BrowserType, ExtensionStatus>> statuses;
    ExtensionAccompanimentCoordinator coordinator(
        {settings, prompt, statuses, [] { return false; }, [] { return false; }});
    ExtensionStatusService service({loop, clock, workspace, windows, systemEvents, notifications,
                                    safari, settings, statuses, coordinator, paths.dataFolder(),
                                    [](const std::string&) {}});
    service.refreshStatus(BrowserType::chrome);
    EXPECT_EQ(statuses().at(BrowserType::chrome), ExtensionStatus::connected);
    EXPECT_TRUE(settings.settings().extensionEverDetected);
}

}  // namespace
}  // namespace olvane
