#include <gtest/gtest.h>

#include <QFontInfo>

#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

TEST(Theme, MapsEveryWeightToItsInterFace) {
    EXPECT_EQ(interFaceName(FontWeight::ultraLight), "Inter24pt-Regular");
    EXPECT_EQ(interFaceName(FontWeight::light), "Inter24pt-Regular");
    EXPECT_EQ(interFaceName(FontWeight::medium), "Inter24pt-Medium");
    EXPECT_EQ(interFaceName(FontWeight::semibold), "Inter24pt-SemiBold");
    EXPECT_EQ(interFaceName(FontWeight::bold), "Inter24pt-Bold");
    EXPECT_EQ(interFaceName(FontWeight::heavy), "Inter24pt-Black");
    EXPECT_EQ(interFaceName(FontWeight::black), "Inter24pt-Black");
}

TEST(Theme, FontsResolveToTheInstalledInterFaces) {
    const QFontInfo regular(Theme::fontRegular14());
    EXPECT_EQ(regular.family(), QStringLiteral("Inter"));
    EXPECT_EQ(regular.pixelSize(), 14);
    EXPECT_EQ(regular.weight(), QFont::Normal);
    const QFontInfo title(Theme::fontMedium32());
    EXPECT_EQ(title.family(), QStringLiteral("Inter"));
    EXPECT_EQ(title.pixelSize(), 32);
    EXPECT_EQ(title.weight(), QFont::Medium);
    EXPECT_EQ(QFontInfo(Theme::font(20, FontWeight::heavy)).weight(), QFont::Black);
    EXPECT_EQ(QFontInfo(Theme::fontSemibold14()).weight(), QFont::DemiBold);
}

TEST(Theme, EveryRoleIsOneOfTheThreeBaseColours) {
    EXPECT_EQ(Theme::lightGray().redF(), 240.0f / 255);
    for (const QColor& white : {Theme::windowBackground(), Theme::sidebarBackground(),
                                Theme::rowSelectedForeground(), Theme::popoverBackground()}) {
        EXPECT_EQ(white, Theme::white());
    }
    for (const QColor& black :
         {Theme::rowSelectedBackground(), Theme::rowIcon(), Theme::rowText(), Theme::separator(),
          Theme::textPrimary(), Theme::placeholder(), Theme::accent(), Theme::popoverText()}) {
        EXPECT_EQ(black, Theme::black());
    }
    EXPECT_EQ(Theme::shadowBlack15().color.alphaF(), Theme::shadowBlack15Large().color.alphaF());
    EXPECT_NEAR(Theme::shadowBlack15().color.alphaF(), 0.15, 0.005);
}

}  // namespace
}  // namespace olvane::ui
