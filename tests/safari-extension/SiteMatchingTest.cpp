#include <gtest/gtest.h>

#include "safari-extension/PageUrl.h"
#include "safari-extension/SafariExtensionHandler.h"

namespace olvane::safari {
namespace {

using Handler = SafariExtensionHandler;

TEST(SiteMatching, FollowsTheEntryRulesBranchByBranch) {
    struct Case {
        const char* entry;
        const char* host;
        const char* path;
        bool matches;
    };
    const Case cases[] = {
        {"site.test", "site.test", "", true},
        {"site.test", "m.site.test", "/watch", true},
        {"site.test", "www.site.test", "/a/b", true},
        {"site.test", "othersite.test", "", false},
        {"=site.test", "site.test", "/", true},
        {"=site.test", "site.test", "/watch", false},
        {"=site.test", "m.site.test", "", true},
        {"site.test/shorts", "site.test", "/shorts/abc", true},
        {"site.test/shorts", "site.test", "", false},
        {"=site.test/shorts", "site.test", "/shorts", true},
        {"=site.test/shorts", "site.test", "/shorts/abc", false},
        {"site.test/shorts/abc", "site.test", "/shorts/abc", false},
        {"Site.test", "site.test", "", false},
        {"www.site.test", "www.site.test", "", false},
        // The page host is lower-cased; empty path pieces are dropped.
        {"=site.test/shorts", "WWW.Site.TEST", "//shorts//", true},
        {"élan.test", "ÉLAN.test", "", true},
        // An entry without a host matches nothing, not even a page without one.
        {"", "", "", false},
        {"=", "", "/", false},
        {"/", "", "", false},
        {"/shorts", "", "/shorts", false},
        {"", "site.test", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Handler::matchesSite(c.entry, c.host, c.path), c.matches)
            << "entry [" << c.entry << "] host [" << c.host << "] path [" << c.path << "]";
    }
}

TEST(SiteMatching, NormalisesTheHostOfAnAddress) {
    EXPECT_EQ(Handler::normalizedHost("https://www.Site.test/watch?v=1"), "site.test");
    EXPECT_EQ(Handler::normalizedHost("http://WWW.www.site.test:8080/"), "www.site.test");
    EXPECT_EQ(Handler::normalizedHost("https://user:pw@M.Site.test"), "m.site.test");
    EXPECT_EQ(Handler::normalizedHost("http://[::1]:3000/x"), "::1");
    EXPECT_EQ(Handler::normalizedHost("about:blank"), "");
    EXPECT_EQ(Handler::normalizedHost(""), "");
    EXPECT_EQ(Handler::normalizedHost("https://site.test:port/"), "");

    const auto url = PageUrl::parse("https://site.test/a%20b/c?q=/x#frag");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->path(), "/a b/c");
    EXPECT_EQ(PageUrl::parse("https://site.test")->path(), "");
    EXPECT_EQ(PageUrl::parse("https://site.test/100%")->path(), "/100%");
    EXPECT_FALSE(PageUrl::parse("https://[::1/"));
    EXPECT_FALSE(PageUrl::parse("https://site.test/\n"));
}

TEST(SiteMatching, TakesTheFirstDelayEntryThatIsOnAndMatches) {
    const Json rules = {{"_redList",
                         {{"sites", Json::array({
                                        {{"domain", "/"}, {"delay", true}},
                                        {{"domain", ""}, {"delay", true}},
                                        {{"delay", true}},
                                        {{"domain", "site.test"}, {"delay", false}},
                                        {{"domain", "site.test"}, {"delay", "yes"}},
                                        {{"domain", "site.test"}, {"delay", true}, {"n", 1}},
                                        {{"domain", "site.test"}, {"delay", true}, {"n", 2}},
                                    })}}}};
    const auto entry = Handler::delayEntry("m.site.test", "/watch", rules);
    ASSERT_TRUE(entry);
    EXPECT_EQ((*entry)["n"], 1);
    // A page without a host meets none of them, the empty domain included.
    EXPECT_FALSE(Handler::delayEntry("", "", rules));
    EXPECT_FALSE(Handler::delayEntry("other.test", "", rules));

    // A list holding something other than objects is not a list of delay entries.
    Json mixed = rules;
    mixed["_redList"]["sites"].push_back("odd");
    EXPECT_FALSE(Handler::delayEntry("site.test", "", mixed));
    EXPECT_FALSE(Handler::delayEntry("site.test", "", {{"_redList", {{"sites", {}}}}}));
    EXPECT_FALSE(Handler::delayEntry("site.test", "", Json::object()));
}

}  // namespace
}  // namespace olvane::safari
