#include <gtest/gtest.h>

#include <QLocale>

#include "ui/UiTestSupport.h"
#include "ui/foundation/Animations.h"
#include "ui/pages/reglages/UninstallPhrase.h"
#include "ui/pages/reglages/UninstallProgressView.h"

namespace olvane::ui {
namespace {

TEST(UninstallPhrase, CaseAccentsSpacesAndPunctuationCountForNothingWordsDo) {
    EXPECT_EQ(UninstallPhrase::normalizedPhrase(UninstallPhrase::requiredPhrase()),
              "oui je veux desinstaller olvane");
    const struct {
        const char* typed;
        bool matches;
    } cases[] = {
        {"Oui, je veux désinstaller Olvane", true},
        {"OUI, JE VEUX DÉSINSTALLER OLVANE", true},
        {"OUI, JE VEUX DESINSTALLER OLVANE", true},
        {"oui je veux desinstaller olvane", true},
        {"Oui,   je  veux désinstaller    Olvane", true},
        {"  oui je veux desinstaller olvane\n", true},
        {".Oui, je veux désinstaller Olvane.", true},
        {"!Oui, je veux désinstaller Olvane!", true},
        {"Oui-je-veux-désinstaller-Olvane", true},
        {"Oui'je'veux'désinstaller'Olvane", true},
        {"Oui, je veux de\u0301sinstaller Olvane", true},  // the accent typed apart
        {"Oui, je veux désinstaller", false},
        {"Oui, je veux désinstaller Olvane maintenant", false},
        {"Oui, je veux dés installer Olvane", false},
        {"Oui, je veux désinstaller+Olvane", false},
        {"Oui, je veux désinstaller $Olvane", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UninstallPhrase::isPhraseMatching(QString::fromUtf8(c.typed)), c.matches)
            << c.typed;
    }
}

TEST(UninstallPhrase, CapitalsMatchUnderATurkishLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_TRUE(
        UninstallPhrase::isPhraseMatching(QStringLiteral("OUI, JE VEUX DÉSINSTALLER OLVANE")));
    EXPECT_TRUE(
        UninstallPhrase::isPhraseMatching(QStringLiteral("OUİ, JE VEUX DÉSİNSTALLER OLVANE")));
    QLocale::setDefault(before);
}

TEST(UninstallProgressView, FollowsTheStepUnderWay) {
    Animations::setJumpToEnd(true);
    platform::Observable<std::string> step{"Retrait du filtre"};
    UninstallProgressView view(step);
    view.resize(1100, 700);
    view.show();
    EXPECT_EQ(view.stepLabel(), "Retrait du filtre");
    for (const char* label : {"Arrêt du suivi d'activité", "Envoi à la Corbeille"}) {
        step.set(label);
        EXPECT_EQ(view.stepLabel(), QString::fromUtf8(label));
    }
    EXPECT_TRUE(test::saveArtefact(view, "uninstall-progress"));
    Animations::setJumpToEnd(false);
}

}  // namespace
}  // namespace olvane::ui
