#include "platform/Json.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace olvane::json {

namespace {

// The closing quote of the string whose text starts at `from`, or `end` when there is none: the
// first quote that no odd run of backslashes escapes.
const char* closingQuote(const char* from, const char* end) {
    const auto nextQuote = [end](const char* at) {
        return static_cast<const char*>(std::memchr(at, '"', static_cast<std::size_t>(end - at)));
    };
    for (const char* quote = nextQuote(from); quote != nullptr; quote = nextQuote(quote + 1)) {
        const char* backslashes = quote;
        while (backslashes != from && backslashes[-1] == '\\') {
            --backslashes;
        }
        if ((quote - backslashes) % 2 == 0) {
            return quote;
        }
    }
    return end;
}

}  // namespace

// Skips each string with one search.
int nestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    const char* const end = text.data() + text.size();
    for (const char* at = text.data(); at != end; ++at) {
        switch (*at) {
            case '"':
                at = closingQuote(at + 1, end);
                if (at == end) {
                    return deepest;
                }
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

// The library's own tree builder, keeping where the text stopped being JSON.
template <typename J>
class TreeBuilder {
  public:
    using number_integer_t = typename J::number_integer_t;
    using number_unsigned_t = typename J::number_unsigned_t;
    using number_float_t = typename J::number_float_t;
    using string_t = typename J::string_t;
    using binary_t = typename J::binary_t;

    explicit TreeBuilder(J& root) : builder_(root, /*allow_exceptions=*/false) {}

    bool null() { return builder_.null(); }
    bool boolean(bool value) { return builder_.boolean(value); }
    bool number_integer(number_integer_t value) { return builder_.number_integer(value); }
    bool number_unsigned(number_unsigned_t value) { return builder_.number_unsigned(value); }
    bool number_float(number_float_t value, const string_t& text) {
        return builder_.number_float(value, text);
    }
    bool string(string_t& value) { return builder_.string(value); }
    bool binary(binary_t& value) { return builder_.binary(value); }
    bool start_object(std::size_t size) { return builder_.start_object(size); }
    bool key(string_t& name) { return builder_.key(name); }
    bool end_object() { return builder_.end_object(); }
    bool start_array(std::size_t size) { return builder_.start_array(size); }
    bool end_array() { return builder_.end_array(); }
    template <typename Exception>
    bool parse_error(std::size_t position, const std::string& token, const Exception& error) {
        failedAt = position;
        return builder_.parse_error(position, token, error);
    }

    // 1-based; 0 while nothing failed.
    std::size_t failedAt = 0;

  private:
    nlohmann::detail::json_sax_dom_parser<J> builder_;
};

// For a text whose nesting is known to be within bounds. One pass, which also finds where a
// failure lies (1-based) for whoever asks.
template <typename J>
std::optional<J> parseShallow(std::string_view text, std::size_t* failedAt = nullptr) {
    // The library takes a NUL byte for the end of the text and would accept what follows it.
    const auto nul = std::min(text.find('\0'), text.size());
    J value;
    TreeBuilder<J> builder(value);
    const bool parsed =
        J::sax_parse(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), &builder);
    if (parsed && nul == text.size()) {
        return value;
    }
    if (failedAt) {
        *failedAt = parsed ? nul + 1 : builder.failedAt;
    }
    return std::nullopt;
}

template <typename J>
std::optional<J> parseAs(std::string_view text, int maxDepth) {
    return nestingDepth(text) > maxDepth ? std::nullopt : parseShallow<J>(text);
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
    std::size_t failedAt = 0;
    auto value = parseShallow<Json>(text, &failedAt);
    if (!value) {
        error = "JSON invalide à l’octet " + std::to_string(failedAt);
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
