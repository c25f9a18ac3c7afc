#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace olvane {

// A 128-bit identifier in its 36-character hyphenated hexadecimal form.
class Uuid {
  public:
    // The nil identifier (all zero).
    Uuid() = default;

    // A fresh version-4 (random) identifier.
    static Uuid random();
    // Accepts either case; nullopt for any other text (braces, missing hyphens, spaces…).
    static std::optional<Uuid> parse(std::string_view text);

    // Upper case, as stored.
    std::string string() const;

    auto operator<=>(const Uuid&) const = default;

  private:
    std::array<std::uint8_t, 16> bytes_{};
};

}  // namespace olvane
