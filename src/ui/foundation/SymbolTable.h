#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace olvane::ui {

// One symbol of the interface, named as the pages name it, and the glyph of the Material Design
// Icons font (version 7) that draws it.
struct SymbolGlyph {
    std::string_view name;
    std::string_view mdiName;
    char32_t codePoint;
};

// The one table from symbol names to glyphs. Names missing here are drawn by SymbolPainter.
class SymbolTable {
  public:
    static std::optional<SymbolGlyph> glyph(std::string_view name);
    static std::span<const SymbolGlyph> all();
};

}  // namespace olvane::ui
