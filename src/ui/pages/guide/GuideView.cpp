#include "ui/pages/guide/GuideView.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/PageFrame.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"
#include "ui/pages/guide/GuideItemRow.h"
#include "ui/pages/guide/GuideSectionCard.h"

namespace olvane::ui {
namespace {

constexpr int kCardSpacing = 12;
constexpr int kCardsPaddingH = 16;
constexpr int kBodyPaddingH = 32;
constexpr int kParagraphSpacing = 12;
constexpr int kBulletSpacing = 2;
constexpr int kDividerBottom = 10;

QLabel* bodyText(const QString& text) {
    auto* label = new WrappingLabel(text);
    label->setFont(Theme::fontRegular14());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColor(label, Theme::black());
    return label;
}

// A column of texts, `spacing` apart; `paddingH` on both sides.
QWidget* textColumn(const QStringList& texts, int spacing, int paddingH = 0) {
    auto* block = new QWidget();
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(paddingH, 0, paddingH, 0);
    column->setSpacing(spacing);
    for (const QString& text : texts) {
        column->addWidget(bodyText(text));
    }
    return block;
}

// The hairline between two items of a card.
class ItemDivider final : public QWidget {
  public:
    ItemDivider() {
        setFixedHeight(1 + kDividerBottom);
        debugOverlay(this, QStringLiteral("Divider"), DebugColor::gray);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(QRectF(kBodyPaddingH, 0, width() - 2 * kBodyPaddingH, 0.5),
                         Theme::withOpacity(Theme::black(), 0.1));
    }
};

struct Item {
    QString title;
    QWidget* content;
};

QWidget* items(const std::vector<Item>& entries) {
    auto* block = new QWidget();
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool last = i + 1 == entries.size();
        column->addWidget(new GuideItemRow(entries[i].title, true, last, entries[i].content));
        if (!last) {
            column->addWidget(new ItemDivider());
        }
    }
    return block;
}

QWidget* ideaContent() {
    return textColumn(
        {QStringLiteral("L'objectif de cette application est de garder ton ordinateur à sa place "
                        ": un outil à ton service, utilisé uniquement dans le cadre d'actions que "
                        "tu as décidées de bout en bout."),
         QStringLiteral(
             "Pour cela, nous avons conçu différentes fonctionnalités permettant de bloquer "
             "automatiquement ta production de dopamine lors de la réalisation d'actions qui ne "
             "te sont pas utiles. Toutes ces fonctionnalités reposent sur le principe de te "
             "permettre de te désintéresser par toi-même des usages que tu juges non nécessaires, "
             "en introduisant de la friction dans ceux-ci pour les rendre ennuyeux.")},
        kParagraphSpacing, kBodyPaddingH);
}

QWidget* featuresContent() {
    return items({
        {QStringLiteral("Monochrome"),
         bodyText(QStringLiteral(
             "Cette page consiste à appliquer un filtre noir et blanc sur l'écran. L'absence de "
             "couleur nous permet de nous diriger consciemment à travers des informations "
             "affichées de façon neutre."))},
        {QStringLiteral("Contrepoids"),
         bodyText(QStringLiteral(
             "Cette page propose des contrepoids, c'est-à-dire des effets visant à ajouter de la "
             "friction lors de la consultation d'une cible (site ou application). L'objectif est "
             "de contrebalancer les mécanismes de captation d'attention implantés sur ces cibles, "
             "et donc d'équilibrer leur niveau d'intérêt par rapport à ce qu'elles nous apportent "
             "réellement."))},
        {QStringLiteral("Assainisseur"),
         bodyText(QStringLiteral(
             "Cette page offre la possibilité de nettoyer certaines fonctionnalités indésirables "
             "et captatrices d'attention pour apaiser notre usage d'internet."))},
    });
}

QWidget* goFurtherContent() {
    return items({
        {QStringLiteral("Bonnes pratiques sur Linux"),
         textColumn({QStringLiteral("•  Activer en permanence le mode \"Ne pas déranger\" (page "
                                    "\"Notifications\" dans les paramètres de ton bureau)."),
                     QStringLiteral("•  Masquer le panneau pour qu'il ne s'affiche qu'en passant "
                                    "la souris dessus (option \"Masquer automatiquement\" dans "
                                    "les paramètres de ton bureau).")},
                    kBulletSpacing)},
        {QStringLiteral("Conseils, articles, études, …"),
         bodyText(QStringLiteral("À venir sur notre site internet."))},
    });
}

QWidget* aboutContent() {
    return textColumn({QStringLiteral("À venir sur notre site internet.")}, 0, kBodyPaddingH);
}

struct CardEntry {
    GuideSection section;
    const char* title;
    const char* debugName;
    QWidget* (*content)();
};

const std::array<CardEntry, 4> kCards{{
    {GuideSection::idea, "L'idée derrière cette application", "Card 1: Idée", ideaContent},
    {GuideSection::features, "Détail de chaque fonctionnalité", "Card 2: Fonctionnalités",
     featuresContent},
    {GuideSection::goFurther, "Aller plus loin", "Card 3: Plus loin", goFurtherContent},
    {GuideSection::about, "Mieux comprendre qui nous sommes", "Card 4: À propos", aboutContent},
}};

}  // namespace

GuideView::GuideView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("guide"));
    auto* page = new PageFrame(new PageHeader(QStringLiteral("Guide"), std::nullopt), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    auto* cards = new QWidget();
    auto* column = new QVBoxLayout(cards);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kCardSpacing);
    for (const CardEntry& entry : kCards) {
        auto* card = new GuideSectionCard(
            QString::fromUtf8(entry.title), false,
            [this, section = entry.section] { toggle(section); }, entry.content(), cards);
        debugOverlay(card, QString::fromUtf8(entry.debugName), DebugColor::indigo);
        column->addWidget(card);
        cards_[static_cast<std::size_t>(entry.section)] = card;
    }
    page->column()->addWidget(new DebugPaddingOverlay(
        cards, QMarginsF(kCardsPaddingH, 0, kCardsPaddingH, 0), QStringLiteral("cards.padH")));
}

GuideSectionCard* GuideView::card(GuideSection section) const {
    return cards_[static_cast<std::size_t>(section)];
}

void GuideView::toggle(GuideSection section) {
    if (!expandedSections_.erase(section)) {
        expandedSections_.insert(section);
    }
    card(section)->setExpanded(expandedSections_.contains(section));
}

}  // namespace olvane::ui
