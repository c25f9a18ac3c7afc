#include "ui/pages/assainisseur/ContentFilterView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/PageFrame.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/SectionHeaderLabel.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"
#include "ui/pages/assainisseur/ContentFilterViewModel.h"
#include "ui/pages/assainisseur/PlatformCard.h"

namespace olvane::ui {
namespace {

constexpr int kSectionTitleGap = 16;
constexpr int kCardSpacing = 12;
constexpr int kSectionPaddingH = 16;
constexpr int kNoteSpacing = 16;
constexpr qreal kHammerSize = 20;

DebugSpacingIndicator* sectionMargin() {
    return new DebugSpacingIndicator(QStringLiteral("sectionMargin"), Theme::sectionMargin);
}

DebugSpacingIndicator* titleGap() {
    return new DebugSpacingIndicator(QStringLiteral("p4"), kSectionTitleGap);
}

}  // namespace

ContentFilterView::ContentFilterView(std::unique_ptr<ContentFilterViewModel> viewModel,
                                     FaviconService& favicons, QWidget* parent)
    : QWidget(parent), viewModel_(std::move(viewModel)) {
    setObjectName(QStringLiteral("content"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* page =
        new PageFrame(new PageHeader(QStringLiteral("Assainisseur"),
                                     QStringLiteral("Améliore ta concentration sur internet")),
                      QStringLiteral("sectionMargin"), Theme::sectionMargin, this);
    outer->addWidget(page);
    QVBoxLayout* column = page->column();
    column->addWidget(sectionHeaderLabel(QStringLiteral("Désamorceur de sites")), 0, Qt::AlignLeft);
    column->addWidget(titleGap());
    column->addWidget(siteCards(favicons));
    column->addWidget(sectionMargin());
    column->addWidget(sectionHeaderLabel(QStringLiteral("Bloqueur de publicité")), 0,
                      Qt::AlignLeft);
    column->addWidget(titleGap());
    column->addWidget(adBlockerNote());
}

ContentFilterView::~ContentFilterView() = default;

QWidget* ContentFilterView::siteCards(FaviconService& favicons) {
    auto* section = new QWidget();
    auto* cards = new QVBoxLayout(section);
    cards->setContentsMargins(kSectionPaddingH, 0, kSectionPaddingH, 0);
    cards->setSpacing(kCardSpacing);
    for (const auto platform : allCases<Platform>()) {
        auto* card = new PlatformCard(
            platform, *viewModel_, favicons, false, [this, platform] { toggleExpanded(platform); },
            section);
        cards->addWidget(card);
        cards_[platform] = card;
    }
    return section;
}

QWidget* ContentFilterView::adBlockerNote() {
    auto* note = new QWidget();
    auto* row = new QHBoxLayout(note);
    row->setContentsMargins(kSectionPaddingH, 0, kSectionPaddingH, 0);
    row->setSpacing(kNoteSpacing);
    row->addWidget(new SymbolView("hammer.fill", kHammerSize, Theme::black(), note), 0,
                   Qt::AlignVCenter);
    auto* text = new WrappingLabel(
        QStringLiteral("En cours de construction. En attendant, nous te recommandons d'utiliser "
                       "l'extension uBlock Origin."),
        note);
    text->setFont(Theme::fontRegular14());
    setTextColor(text, Theme::black());
    row->addWidget(text, 1, Qt::AlignVCenter);
    return note;
}

void ContentFilterView::toggleExpanded(Platform platform) {
    if (!expandedPlatforms_.erase(platform)) {
        expandedPlatforms_.insert(platform);
    }
    cards_.at(platform)->setExpanded(expandedPlatforms_.contains(platform));
}

void ContentFilterView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::windowBackground());
}

}  // namespace olvane::ui
