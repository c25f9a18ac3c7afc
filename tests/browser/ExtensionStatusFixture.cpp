#include "ExtensionStatusFixture.h"

#include <gtest/gtest.h>

#include "model/exchange/ExchangeFiles.h"
#include "platform/Paths.h"

namespace olvane::test {

namespace {

pid_t pidOf(BrowserType browser) {
    switch (browser) {
        case BrowserType::firefox:
            return ExtensionStatusFixture::kFirefoxPid;
        case BrowserType::safari:
            return ExtensionStatusFixture::kSafariPid;
        case BrowserType::chrome:
            return ExtensionStatusFixture::kChromePid;
    }
    return 0;
}

}  // namespace

void ExtensionStatusFixture::launch(BrowserType browser, double secondsAgo, bool withWindow) {
    const auto pid = pidOf(browser);
    workspace.launch({std::string(bundleIdentifier(browser)), std::string(displayName(browser)),
                      pid, now() - secondsAgo});
    if (withWindow) {
        addWindow(pid, 1200, 800);
    }
}

void ExtensionStatusFixture::addWindow(pid_t pid, double width, double height, int layer) {
    static std::uint32_t next = 1;
    windows.addWindow({next++, pid, {0, 0, width, height}, layer, true});
}

void ExtensionStatusFixture::writeStatusFile(BrowserType browser, const char* kind,
                                             double secondsAgo) {
    const auto name = std::string(rawValue(browser));
    const auto file = std::string_view(kind) == "health" ? exchange::healthFileName(name)
                                                         : exchange::siteFileName(name);
    ASSERT_TRUE(platform::ensurePrivateFolder(paths.dataFolder()));
    ASSERT_TRUE(exchange::writeExchangeFile(paths.dataFolder() / file,
                                            {{"timestamp", now() - secondsAgo}}));
}

}  // namespace olvane::test
