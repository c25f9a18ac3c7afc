#include <gtest/gtest.h>

#include "model/SiteNormalizer.h"

namespace olvane {
namespace {

struct Example {
    const char* typed;
    const char* stored;
    const char* bareHost;
    std::int64_t specificity;
};

TEST(SiteNormalizer, WorkedExamples) {
    const Example examples[] = {
        {"  Site.Test  ", "site.test", "site.test", 1},
        {"HTTPS://WWW.Site.Test/Watch?v=3", "site.test/watch", "site.test", 2},
        {"site.test/a/b/c", "site.test/a", "site.test", 2},
        {"=www.site.test", "=site.test", "site.test", 11},
        {"=http://site.test/news/today", "=site.test/news", "site.test", 12},
        {"site.test/", "site.test", "site.test", 1},
        {"site.test?ref=1", "site.test?ref=1", "site.test?ref=1", 1},
        {"site.test/a?b/c", "site.test/a?b", "site.test", 2},
        {"=", "=", "", 11},
        {"", "", "", 1},
        {"\t\n site.test\r\n", "site.test", "site.test", 1},
        {"WWW.www.Site.test", "www.site.test", "www.site.test", 1},
        {"https://=site.test", "=site.test", "=site.test", 11},
        {"ftp://site.test", "ftp:", "ftp:", 1},
        {"\u00A0\u2003ÉCOLE.Test/Été\u3000", "école.test/été", "école.test", 2},
    };
    for (const auto& e : examples) {
        SCOPED_TRACE(e.typed);
        EXPECT_EQ(SiteNormalizer::normalize(e.typed), e.stored);
        EXPECT_EQ(SiteNormalizer::normalizeForMatching(e.typed), e.bareHost);
        EXPECT_EQ(SiteNormalizer::specificity(e.typed), e.specificity);
    }
}

TEST(SiteNormalizer, StoredFormsMostlyNormaliseToThemselves) {
    for (const char* stored : {"site.test", "site.test/a", "=site.test", "=site.test/a"}) {
        EXPECT_EQ(SiteNormalizer::normalize(stored), stored);
    }
    EXPECT_EQ(SiteNormalizer::normalize("site.test/a?b"), "site.test/a");
    EXPECT_EQ(SiteNormalizer::normalize("www.site.test"), "site.test");
}

TEST(SiteNormalizer, TextWithoutAHostIsRefused) {
    for (const char* typed : {"", "   ", "=", "https://", "=https://", " =HTTP:// ", "www.",
                              "https:///path", "/path"}) {
        EXPECT_FALSE(SiteNormalizer::hasHost(typed)) << typed;
    }
    for (const char* typed : {"site.test", "=site.test/a", "localhost:8080"}) {
        EXPECT_TRUE(SiteNormalizer::hasHost(typed)) << typed;
    }
}

TEST(SiteNormalizer, InvalidUtf8IsKeptByteForByte) {
    const std::string typed = "Site\xFF\xC3.Test";
    EXPECT_EQ(SiteNormalizer::normalize(typed), "site\xFF\xC3.test");
}

TEST(SiteNormalizer, OrdersMostSpecificFirstAndKeepsEqualsInOrder) {
    const std::vector<std::string> targets = {"a.test",    "=b.test", "c.test/x",
                                              "=d.test/y", "e.test",  "=f.test"};
    const auto ordered =
        SiteNormalizer::mostSpecificFirst(targets, [](const std::string& s) { return s; });
    EXPECT_EQ(ordered, (std::vector<std::string>{"=d.test/y", "=b.test", "=f.test", "c.test/x",
                                                 "a.test", "e.test"}));
    EXPECT_TRUE(SiteNormalizer::mostSpecificFirst(std::vector<std::string>{}, [](auto& s) {
                    return s;
                }).empty());
}

}  // namespace
}  // namespace olvane
