#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace olvane {

using Json = nlohmann::json;                 // objects keep their keys sorted
using OrderedJson = nlohmann::ordered_json;  // objects keep insertion order

namespace json {

// Deeper documents are refused: serialising them recurses once per level.
inline constexpr int kMaxDepth = 512;

// The deepest nesting of arrays and objects in `text`, counted without parsing.
int nestingDepth(std::string_view text);

// Parses without throwing; nullopt for invalid JSON or nesting beyond `maxDepth`.
std::optional<Json> parse(std::string_view text, int maxDepth = kMaxDepth);
std::optional<OrderedJson> parseOrdered(std::string_view text, int maxDepth = kMaxDepth);
// As parse, and says why in `error` (French) when it fails.
std::optional<Json> parse(std::string_view text, std::string& error, int maxDepth = kMaxDepth);
// Parses and requires a top-level object.
std::optional<Json> parseObject(std::string_view text, int maxDepth = kMaxDepth);
// The text of one JSON object with the white space between its tokens dropped, checked without
// building the value (for text passed on as it is); nullopt when `text` is not one JSON object,
// has invalid UTF-8 in a string, or nests beyond `maxDepth`.
std::optional<std::string> compactObjectText(std::string_view text, int maxDepth = kMaxDepth);
// The same in place: `text` is left as it was when it is compact already or not one object.
bool makeObjectTextCompact(std::string& text, int maxDepth = kMaxDepth);

// Serialisers never throw: invalid UTF-8 in strings is replaced.
std::string dumpCompact(const Json& value);
std::string dumpCompact(const OrderedJson& value);
// Indented by two spaces, keys sorted.
std::string dumpPretty(const Json& value);

// Typed member access that never throws: nullopt when absent or of another type.
std::optional<std::string> stringMember(const Json& object, std::string_view key);
std::optional<double> numberMember(const Json& object, std::string_view key);
std::optional<bool> boolMember(const Json& object, std::string_view key);

}  // namespace json
}  // namespace olvane
