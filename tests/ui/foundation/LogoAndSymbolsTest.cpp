#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "ui/UiTestSupport.h"
#include "ui/foundation/FontLibrary.h"
#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/SymbolTable.h"

namespace olvane::ui {
namespace {

// Counts the pixels that carry ink (any alpha).
int inkedPixels(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return count;
}

TEST(SymbolTable, GlyphsAreThoseOfTheIconFont) {
    std::ifstream css(OLVANE_MDI_CSS);
    ASSERT_TRUE(css) << OLVANE_MDI_CSS;
    std::stringstream text;
    text << css.rdbuf();
    const std::string sheet = text.str();
    std::set<std::string_view> names;
    for (const auto& glyph : SymbolTable::all()) {
        EXPECT_TRUE(names.insert(glyph.name).second) << "deux entrées pour " << glyph.name;
        const std::string rule = ".mdi-" + std::string(glyph.mdiName) + "::before {";
        const auto at = sheet.find(rule);
        ASSERT_NE(at, std::string::npos) << glyph.mdiName;
        const auto escape = sheet.find("content: \"\\", at);
        ASSERT_NE(escape, std::string::npos) << glyph.mdiName;
        const auto digits = sheet.substr(escape + 11, 5);
        EXPECT_EQ(std::stoul(digits, nullptr, 16), glyph.codePoint) << glyph.name;
    }
}

TEST(SymbolPainter, DrawsEveryTableSymbolAndThoseTheFontLacks) {
    ASSERT_FALSE(FontLibrary::symbolFamily().isEmpty()) << "police de symboles non chargée";
    // The embedded font is a subset: a symbol it lacks would show as a hollow square.
    const QFontMetrics metrics{QFont(FontLibrary::symbolFamily())};
    QPixmap sheet(40 * 8, 40 * 6);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int index = 0;
    for (const auto& glyph : SymbolTable::all()) {
        EXPECT_FALSE(SymbolPainter::isPainted(glyph.name));
        EXPECT_TRUE(metrics.inFontUcs4(glyph.codePoint)) << glyph.name << " : scripts/mdi-subset";
        EXPECT_GT(inkedPixels(SymbolPainter::pixmap(glyph.name, 16, Qt::black)), 10) << glyph.name;
        SymbolPainter::paint(painter, QRectF((index % 8) * 40, (index / 8) * 40, 40, 40),
                             glyph.name, 20, Qt::black);
        ++index;
    }
    EXPECT_TRUE(SymbolPainter::isPainted("app.dashed"));
    EXPECT_GT(inkedPixels(SymbolPainter::pixmap("app.dashed", 16, Qt::black)), 10);
    EXPECT_GT(inkedPixels(SymbolPainter::pixmap("no.such.symbol", 16, Qt::black)), 10);
    SymbolPainter::paint(painter, QRectF((index % 8) * 40, (index / 8) * 40, 40, 40), "app.dashed",
                         20, Qt::black);
    painter.end();
    EXPECT_TRUE(test::saveArtefact(sheet, "symbols"));
}

TEST(LogoOlvane, IsABlackRoundedSquareWithAWhiteMark) {
    const QPixmap logo = LogoOlvane::pixmap(256);
    const QImage image = logo.toImage();
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);  // rounded corner
    EXPECT_EQ(image.pixelColor(128, 20), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(128, 128 + 64), QColor(Qt::white));  // bottom of the ring
    EXPECT_TRUE(test::saveArtefact(LogoOlvane::pixmap(512), "logo-olvane"));
    EXPECT_FALSE(LogoOlvane::icon().availableSizes().isEmpty());
}

}  // namespace
}  // namespace olvane::ui
