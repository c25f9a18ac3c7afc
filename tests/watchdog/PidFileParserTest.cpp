#include <gtest/gtest.h>

#include "watchdog/PidFileParser.h"

namespace olvane {
namespace {

TEST(PidFileParserTest, AcceptsADecimalNumberBetweenWhitespace) {
    const std::pair<std::string, pid_t> accepted[] = {
        {"1234", 1234},
        {"1234\n", 1234},
        {"  1234  ", 1234},
        {"+1234", 1234},
        {"\t\r\n1234\r\n", 1234},
        {"\u00A01234\u3000\u2028", 1234},  // Unicode spaces and line separators
        {"0001234", 1234},
        {"2147483647", 2147483647},
    };
    for (const auto& [text, pid] : accepted) {
        EXPECT_EQ(parsePidFileText(text), pid) << "«" << text << "»";
    }
}

TEST(PidFileParserTest, RefusesEverythingElse) {
    const std::string refused[] = {
        "",
        " \n ",
        "12 34",
        "1234abc",
        "0x4D2",
        "-1234",
        "0",
        "-0",
        "+",
        "-",
        "+-12",
        "2147483648",
        "99999999999999999999",
        "\u0661\u0662\u0663",  // digits of another script
        "\uFF11\uFF12",        // full-width digits
        "\xFF"
        "1234",  // not UTF-8
        "\xC0\xA0"
        "1234",  // overlong space
        std::string("1234\0", 5),
    };
    for (const auto& text : refused) {
        EXPECT_EQ(parsePidFileText(text), std::nullopt) << "«" << text << "»";
    }
}

}  // namespace
}  // namespace olvane
