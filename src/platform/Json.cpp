#include "platform/Json.h"

#include <algorithm>
#include <string>

namespace olvane::json {

int nestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        switch (c) {
            case '"':
                inString = true;
                break;
            case '[':
            case '{':
                deepest = std::max(deepest, ++depth);
                break;
            case ']':
            case '}':
                depth = std::max(0, depth - 1);
                break;
            default:
                break;
        }
    }
    return deepest;
}

namespace {

// For a text whose nesting is known to be within bounds.
template <typename J>
std::optional<J> parseShallow(std::string_view text) {
    // The library takes a NUL byte for the end of the text and would accept what follows it.
    if (text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    J value = J::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) {
        return std::nullopt;
    }
    return value;
}

template <typename J>
std::optional<J> parseAs(std::string_view text, int maxDepth) {
    return nestingDepth(text) > maxDepth ? std::nullopt : parseShallow<J>(text);
}

// Accepts every event and keeps where the parser gave up: a second pass that throws nothing
// and builds nothing.
struct FailureFinder : nlohmann::json_sax<Json> {
    std::size_t position = 0;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t where, const std::string&,
                     const nlohmann::detail::exception&) override {
        position = where;
        return false;
    }
};

// Where the parser gave up, 1-based; only asked once a parse has failed.
std::size_t failurePosition(std::string_view text) {
    const auto nul = std::min(text.find('\0'), text.size());
    FailureFinder finder;
    Json::sax_parse(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), &finder);
    return finder.position != 0 ? finder.position : nul + 1;
}

template <typename J>
std::string dumpWith(const J& value, int indent) {
    return value.dump(indent, ' ', false, J::error_handler_t::replace);
}

}  // namespace

std::optional<Json> parse(std::string_view text, int maxDepth) {
    return parseAs<Json>(text, maxDepth);
}

std::optional<OrderedJson> parseOrdered(std::string_view text, int maxDepth) {
    return parseAs<OrderedJson>(text, maxDepth);
}

std::optional<Json> parse(std::string_view text, std::string& error, int maxDepth) {
    if (nestingDepth(text) > maxDepth) {
        error = "imbrication JSON trop profonde (plus de " + std::to_string(maxDepth) + " niveaux)";
        return std::nullopt;
    }
    auto value = parseShallow<Json>(text);
    if (!value) {
        error = "JSON invalide à l’octet " + std::to_string(failurePosition(text));
    }
    return value;
}

std::optional<Json> parseObject(std::string_view text, int maxDepth) {
    auto value = parse(text, maxDepth);
    if (!value || !value->is_object()) {
        return std::nullopt;
    }
    return value;
}

std::string dumpCompact(const Json& value) {
    return dumpWith(value, -1);
}

std::string dumpCompact(const OrderedJson& value) {
    return dumpWith(value, -1);
}

std::string dumpPretty(const Json& value) {
    return dumpWith(value, 2);
}

std::optional<std::string> stringMember(const Json& object, std::string_view key) {
    if (!object.is_object()) {
        return std::nullopt;
    }
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) {
        return std::nullopt;
    }
    return it->get<std::string>();
}

std::optional<double> numberMember(const Json& object, std::string_view key) {
    if (!object.is_object()) {
        return std::nullopt;
    }
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number()) {
        return std::nullopt;
    }
    return it->get<double>();
}

std::optional<bool> boolMember(const Json& object, std::string_view key) {
    if (!object.is_object()) {
        return std::nullopt;
    }
    const auto it = object.find(key);
    if (it == object.end() || !it->is_boolean()) {
        return std::nullopt;
    }
    return it->get<bool>();
}

}  // namespace olvane::json
