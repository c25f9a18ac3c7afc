#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ApplicationAliases.h"

namespace olvane::platform {
namespace {

TEST(ApplicationAliases, WindowClassesAndExecutablesMapToTheBrowsersApplicationIds) {
    for (const char* name : {"firefox", "firefox-esr", "Navigator", "Firefox-esr",
                             "/usr/lib/firefox-esr/firefox-esr", "org.mozilla.firefox"}) {
        EXPECT_EQ(applicationIdForAlias(name), "org.mozilla.firefox") << name;
    }
    for (const char* name :
         {"google-chrome", "Google-chrome", "google-chrome-stable", "/opt/google/chrome/chrome",
          "chromium", "Chromium", "chromium-browser", "org.chromium.Chromium"}) {
        EXPECT_EQ(applicationIdForAlias(name), "com.google.Chrome") << name;
    }
    EXPECT_EQ(applicationIdForAlias("OlvaneMac"), "so.olvane.mac");
}

TEST(ApplicationAliases, UnknownAndPartialNamesHaveNoAlias) {
    EXPECT_FALSE(applicationIdForAlias("gedit"));
    EXPECT_FALSE(applicationIdForAlias(""));
    EXPECT_FALSE(applicationIdForAlias("/usr/bin/"));
    EXPECT_FALSE(applicationIdForAlias("fire"));
    EXPECT_FALSE(applicationIdForAlias("firefoxx"));
    EXPECT_FALSE(applicationIdForAlias("/usr/bin/firefox/extra"));
}

TEST(ApplicationAliases, ReverseListingGivesTheOtherNamesOfAnApplication) {
    const auto chrome = aliasesOfApplication("com.google.Chrome");
    for (const char* name : {"google-chrome", "chromium", "org.chromium.Chromium"}) {
        EXPECT_NE(std::ranges::find(chrome, name), chrome.end()) << name;
    }
    EXPECT_EQ(std::ranges::find(chrome, "com.google.Chrome"), chrome.end());
    EXPECT_TRUE(aliasesOfApplication("org.gnome.gedit").empty());
}

}  // namespace
}  // namespace olvane::platform
