#include "ui/foundation/SymbolTable.h"

#include <array>

namespace olvane::ui {
namespace {

// Code points of @mdi/font 7.4.47; a test checks them against the package's style sheet. The
// embedded font holds these glyphs only: scripts/mdi-subset after a change here.
constexpr std::array kGlyphs{
    SymbolGlyph{"house.fill", "home", 0xF02DC},
    SymbolGlyph{"sparkles", "creation", 0xF0674},
    SymbolGlyph{"book.pages.fill", "book-open-page-variant", 0xF05DA},
    SymbolGlyph{"circle.lefthalf.filled", "circle-half-full", 0xF1396},
    SymbolGlyph{"scalemass.fill", "scale-balance", 0xF05D1},
    SymbolGlyph{"bubbles.and.sparkles.fill", "spray-bottle", 0xF0AE0},
    SymbolGlyph{"puzzlepiece.extension.fill", "puzzle", 0xF0431},
    SymbolGlyph{"gearshape.fill", "cog", 0xF0493},
    SymbolGlyph{"gearshape", "cog-outline", 0xF08BB},
    SymbolGlyph{"checkmark", "check", 0xF012C},
    SymbolGlyph{"checkmark.circle.fill", "check-circle", 0xF05E0},
    SymbolGlyph{"chevron.down", "chevron-down", 0xF0140},
    SymbolGlyph{"chevron.up", "chevron-up", 0xF0143},
    SymbolGlyph{"chevron.left", "chevron-left", 0xF0141},
    SymbolGlyph{"chevron.right", "chevron-right", 0xF0142},
    SymbolGlyph{"chevron.up.chevron.down", "unfold-more-horizontal", 0xF054F},
    SymbolGlyph{"circle", "circle-outline", 0xF0766},
    SymbolGlyph{"circle.fill", "circle", 0xF0765},
    SymbolGlyph{"clock", "clock-outline", 0xF0150},
    SymbolGlyph{"clock.fill", "clock", 0xF0954},
    SymbolGlyph{"tortoise.fill", "tortoise", 0xF0D3B},
    SymbolGlyph{"humidity", "water-percent", 0xF058E},
    SymbolGlyph{"xmark", "close", 0xF0156},
    SymbolGlyph{"xmark.circle.fill", "close-circle", 0xF0159},
    SymbolGlyph{"plus", "plus", 0xF0415},
    SymbolGlyph{"minus", "minus", 0xF0374},
    SymbolGlyph{"magnifyingglass", "magnify", 0xF0349},
    SymbolGlyph{"globe", "web", 0xF059F},
    SymbolGlyph{"app.fill", "square-rounded", 0xF14FB},
    SymbolGlyph{"ladybug", "ladybug", 0xF082D},
    SymbolGlyph{"lightbulb", "lightbulb-outline", 0xF0336},
    SymbolGlyph{"heart", "heart-outline", 0xF02D5},
    SymbolGlyph{"hammer.fill", "hammer", 0xF08EA},
    SymbolGlyph{"list.bullet.rectangle", "card-text-outline", 0xF0B78},
    SymbolGlyph{"pause", "pause", 0xF03E4},
    SymbolGlyph{"pause.circle.fill", "pause-circle", 0xF03E5},
    SymbolGlyph{"play.rectangle.fill", "play-box", 0xF127A},
    SymbolGlyph{"camera.fill", "camera", 0xF0100},
    SymbolGlyph{"briefcase.fill", "briefcase", 0xF00D6},
    SymbolGlyph{"person.2.fill", "account-multiple", 0xF000E},
};

}  // namespace

std::optional<SymbolGlyph> SymbolTable::glyph(std::string_view name) {
    for (const auto& g : kGlyphs) {
        if (g.name == name) {
            return g;
        }
    }
    return std::nullopt;
}

std::span<const SymbolGlyph> SymbolTable::all() {
    return kGlyphs;
}

}  // namespace olvane::ui
