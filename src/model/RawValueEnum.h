#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace olvane {

// The string raw values of an enum, in declaration order. Each enum with raw values specialises
// it with `names` (and `listsAllCases` when the type offers the list of all its cases).
template <typename E>
struct RawValues;

template <typename E>
concept RawValueEnum = requires {
    RawValues<E>::names;
};

template <RawValueEnum E>
constexpr std::string_view rawValue(E value) {
    return RawValues<E>::names[static_cast<std::size_t>(value)];
}

// Exact, case-sensitive match; nullopt for any other text.
template <RawValueEnum E>
constexpr std::optional<E> fromRawValue(std::string_view text) {
    const auto& names = RawValues<E>::names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == text) {
            return static_cast<E>(i);
        }
    }
    return std::nullopt;
}

// Every case, in declaration order.
template <RawValueEnum E>
requires(RawValues<E>::listsAllCases) constexpr auto allCases() {
    std::array<E, RawValues<E>::names.size()> cases{};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        cases[i] = static_cast<E>(i);
    }
    return cases;
}

}  // namespace olvane
