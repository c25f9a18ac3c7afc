#include <gtest/gtest.h>

#include "platform/Base64.h"
#include "platform/Json.h"

namespace olvane {
namespace {

TEST(Json, ParsesWithoutThrowingAndRefusesDeepNesting) {
    EXPECT_FALSE(json::parse("{"));
    EXPECT_FALSE(json::parse(""));
    EXPECT_FALSE(json::parseObject("[1]"));
    EXPECT_TRUE(json::parseObject(R"({"a": "[[[["})"));  // brackets inside strings do not count
    for (const auto& [text, depth] : {std::pair{R"(["\\", [1]])", 2},
                                      {R"(["\"[[", 1])", 1},
                                      {R"(["\\\"[[", {}])", 2},
                                      {R"([[] "[[)", 2}}) {
        EXPECT_EQ(json::nestingDepth(text), depth) << text;
    }

    const std::string deep = std::string(600, '[') + std::string(600, ']');
    EXPECT_EQ(json::nestingDepth(deep), 600);
    EXPECT_FALSE(json::parse(deep));
    const std::string fine = std::string(512, '[') + std::string(512, ']');
    EXPECT_TRUE(json::parse(fine));

    std::string error;
    EXPECT_FALSE(json::parse(R"({"a": x})", error));
    EXPECT_EQ(error, "JSON invalide à l’octet 7");
    // Nothing may follow the value, not even behind a NUL byte.
    EXPECT_FALSE(json::parse(std::string_view("{}\0x", 4), error));
    EXPECT_EQ(error, "JSON invalide à l’octet 3");
    EXPECT_FALSE(json::parse(deep, error));
    EXPECT_EQ(error, "imbrication JSON trop profonde (plus de 512 niveaux)");
}

TEST(Json, DumpsInvalidUtf8WithoutThrowingAndSortsKeys) {
    Json value = {{"b", std::string("\xff\xfe")}, {"a", 1}};
    std::string text;
    ASSERT_NO_THROW(text = json::dumpCompact(value));
    EXPECT_EQ(text.rfind("{\"a\":1,", 0), 0u);
    EXPECT_EQ(json::dumpPretty(Json{{"k", true}}), "{\n  \"k\": true\n}");
}

TEST(Json, CompactObjectTextDropsOnlyTheSpaceBetweenTokensAndRefusesWhatIsNotOneObject) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"{\n  \"a b\": [1, 2.5e3, true, null],\r\n\t\"c\": \"\\\" x \"\n}\n",
         R"({"a b":[1,2.5e3,true,null],"c":"\" x "})"},
        {"{}", "{}"},
        {"  {\"a key well over thirty-two bytes long\" :\"so is this value, spaces and all\" } ",
         R"({"a key well over thirty-two bytes long":"so is this value, spaces and all"})"},
        {R"({"a": tr ue})", std::nullopt},  // a space inside a literal is no space between tokens
        {R"({"a": 1 2})", std::nullopt},
        {"[1]", std::nullopt},
        {R"({"a": 1} {})", std::nullopt},
        {"{\"a\": \"\xff\"}", std::nullopt},
        {R"({"a": 1e999})", std::nullopt},  // beyond a double, as the parser says
        {R"({"a": -1e-999})", R"({"a":-1e-999})"},
        {"", std::nullopt},
    };
    for (const auto& [text, compact] : cases) {
        EXPECT_EQ(json::compactObjectText(text), compact) << text;
        if (compact) {
            EXPECT_EQ(json::parse(*compact), json::parse(text)) << text;
        }
    }
    EXPECT_FALSE(json::compactObjectText(std::string("{\"a\":") + std::string(600, '[') +
                                         std::string(600, ']') + "}"));
}

TEST(Json, TypedMembersNeverThrow) {
    const auto object = *json::parse(R"({"s": "x", "n": 2.5, "b": true})");
    EXPECT_EQ(json::stringMember(object, "s"), "x");
    EXPECT_FALSE(json::stringMember(object, "n"));
    EXPECT_EQ(json::numberMember(object, "n"), 2.5);
    EXPECT_EQ(json::boolMember(object, "b"), true);
    EXPECT_FALSE(json::numberMember(Json::array(), "n"));
}

TEST(Base64, RoundTripsAndRejectsMalformedText) {
    for (const std::string& bytes : {std::string(), std::string("f"), std::string("fo"),
                                     std::string("foo"), std::string("\0\xff\x10", 3)}) {
        EXPECT_EQ(platform::base64Decode(platform::base64Encode(bytes)), bytes);
    }
    EXPECT_EQ(platform::base64Encode("foob"), "Zm9vYg==");
    EXPECT_FALSE(platform::base64Decode("Zm9vYg="));
    EXPECT_FALSE(platform::base64Decode("Zm=vYg=="));
    EXPECT_FALSE(platform::base64Decode("Zm9v\nYg=="));
}

}  // namespace
}  // namespace olvane
