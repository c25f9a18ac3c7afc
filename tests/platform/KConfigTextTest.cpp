#include <gtest/gtest.h>

#include "platform/linux/KConfigText.h"

namespace olvane::platform::os {
namespace {

TEST(KConfigTextTest, EditsOneEntryAndNothingElse) {
    const struct {
        const char* text;
        std::optional<std::string> value;  // nullopt: remove
        const char* expected;
    } cases[] = {
        // Other groups, localised forms and nested groups are other entries.
        {"[Other]\nMode=1\n[G]\r\nMode[fr]=x\r\n Mode = 1\r\n[G][Sub]\nMode=2\n", "3",
         "[Other]\nMode=1\n[G]\r\nMode[fr]=x\r\nMode=3\r\n[G][Sub]\nMode=2\n"},
        // A new key goes after the group's last line, before the blank lines that part groups.
        {"[G]\nA=1\n\n[H]\n", "3", "[G]\nA=1\nMode=3\n\n[H]\n"},
        {"[G]\nA=1", "3", "[G]\nA=1\nMode=3\n"},
        {"[H]\nB=2", "3", "[H]\nB=2\n\n[G]\nMode=3\n"},
        {"", "3", "[G]\nMode=3\n"},
        {"[G]\nMode=1\n# kept\nA=1\n", std::nullopt, "[G]\n# kept\nA=1\n"},
        {"[H]\nMode=1\n", std::nullopt, "[H]\nMode=1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(kconfig::withEntry(c.text, "G", "Mode", c.value), c.expected);
    }
    EXPECT_EQ(kconfig::entry("[G]\r\n Mode = 1 \r\n", "G", "Mode"), "1");
    EXPECT_EQ(kconfig::entry("[G][Sub]\nMode=2\n", "G", "Mode"), std::nullopt);
}

TEST(KConfigTextTest, OnlyAnEmptyGroupGoes) {
    EXPECT_EQ(kconfig::withoutEmptyGroup("[H]\nB=2\n\n[G]\n\n[I]\n", "G"), "[H]\nB=2\n\n[I]\n");
    EXPECT_EQ(kconfig::withoutEmptyGroup("[G]\n# kept\n", "G"), "[G]\n# kept\n");
}

}  // namespace
}  // namespace olvane::platform::os
