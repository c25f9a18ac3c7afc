#include "ui/pages/accueil/AccueilView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/LogoView.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/pages/accueil/AccueilScale.h"
#include "ui/pages/accueil/CTAButton.h"
#include "ui/pages/accueil/ModuleCard.h"

namespace olvane::ui {
namespace {

constexpr qreal kLogoSide = 100;
constexpr qreal kTitleSize = 40;
constexpr qreal kTitleTracking = -1.2;
constexpr qreal kSubtitleSize = 22;
constexpr qreal kSectionGap = 40;

// A line of text that never wraps: narrower than its text, it keeps the text on one line,
// centred, rather than asking the page for more width.
class OneLineLabel final : public QLabel {
  public:
    OneLineLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setTextFormat(Qt::PlainText);
        setAlignment(Qt::AlignCenter);
        setTextColor(this, Theme::black());
    }

    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
};

struct ModuleEntry {
    const char* title;
    const char* description;
    const char* iconName;
    NavigationItem target;
};

const std::array<ModuleEntry, 3> kModules{{
    {"Monochrome", "Préserve ton attention avec un filtre noir et blanc", "circle.lefthalf.filled",
     NavigationItem::grayscaleFilter},
    {"Contrepoids", "Rends ennuyeux tes usages non-désirés", "scalemass.fill",
     NavigationItem::frictionEffects},
    {"Assainisseur", "Améliore ta concentration sur internet", "bubbles.and.sparkles.fill",
     NavigationItem::contentFilter},
}};

}  // namespace

AccueilView::AccueilView(AppState& appState, QWidget* parent)
    : QWidget(parent), appState_(appState) {
    setObjectName(QStringLiteral("accueil"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(new DebugSpacingIndicator(QStringLiteral("p4"), 16, Qt::Vertical, this));

    auto* row = new QHBoxLayout();
    row->setSpacing(0);
    row->addWidget(new DebugSpacingIndicator(QStringLiteral("pageMarginLeft"),
                                             Theme::pageMarginLeft, Qt::Horizontal, this));
    auto* content = new QVBoxLayout();
    content->setSpacing(0);
    content->addStretch(1);
    content->addWidget(scaledGap(QStringLiteral("p10"), kSectionGap));
    content->addWidget(buildHero(), 0, Qt::AlignHCenter);
    content->addWidget(scaledGap(QStringLiteral("p10"), kSectionGap));
    content->addWidget(buildSeparator());
    content->addWidget(scaledGap(QStringLiteral("p10"), kSectionGap));
    content->addWidget(buildCards());
    content->addStretch(1);
    row->addLayout(content, 1);
    row->addWidget(new DebugSpacingIndicator(QStringLiteral("pageMarginRight"),
                                             Theme::pageMarginRight, Qt::Horizontal, this));
    outer->addLayout(row, 1);
    outer->addWidget(scaledGap(QStringLiteral("p10"), kSectionGap));
    applyScale(1);
}

DebugSpacingIndicator* AccueilView::scaledGap(const QString& name, qreal restingValue) {
    auto* gap = new DebugSpacingIndicator(name, restingValue, Qt::Vertical, this);
    scaledGaps_.push_back({gap, restingValue});
    return gap;
}

QWidget* AccueilView::buildHero() {
    auto* hero = new QWidget(this);
    auto* column = new QVBoxLayout(hero);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    logo_ = new LogoView(static_cast<int>(kLogoSide), hero);
    debugOverlay(logo_, QStringLiteral("Logo"), DebugColor::purple);
    column->addWidget(logo_, 0, Qt::AlignHCenter);
    column->addWidget(scaledGap(QStringLiteral("p6"), 24));
    title_ = new OneLineLabel(QStringLiteral("Bienvenue sur Olvane"), hero);
    debugOverlay(title_, QStringLiteral("Title"), DebugColor::green);
    column->addWidget(title_, 0, Qt::AlignHCenter);
    column->addWidget(scaledGap(QStringLiteral("p2"), 8));
    subtitle_ = new OneLineLabel(QStringLiteral("Reprends le contrôle"), hero);
    debugOverlay(subtitle_, QStringLiteral("Subtitle"), DebugColor::mint);
    column->addWidget(subtitle_, 0, Qt::AlignHCenter);
    column->addWidget(scaledGap(QStringLiteral("p18"), 72));
    cta_ = new CTAButton([this] { go(NavigationItem::configurateur); }, hero);
    debugOverlay(cta_, QStringLiteral("CTA Button"), DebugColor::red);
    column->addWidget(cta_, 0, Qt::AlignHCenter);
    debugOverlay(hero, QStringLiteral("Hero Section"), DebugColor::orange);
    return hero;
}

QWidget* AccueilView::buildSeparator() {
    auto* separator = new QWidget(this);
    auto* row = new QHBoxLayout(separator);
    row->setContentsMargins(32, 0, 32, 0);
    row->setSpacing(16);
    row->addWidget(new Separator(Qt::Horizontal, Theme::black(), separator), 1, Qt::AlignVCenter);
    QFont font = Theme::font(11, FontWeight::regular);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    auto* text = themedLabel(QStringLiteral("OU ACCÈDE DIRECTEMENT"), font, separator);
    debugOverlay(text, QStringLiteral("Separator Text"), DebugColor::brown);
    row->addWidget(text, 0, Qt::AlignVCenter);
    row->addWidget(new Separator(Qt::Horizontal, Theme::black(), separator), 1, Qt::AlignVCenter);
    debugOverlay(separator, QStringLiteral("Separator"), DebugColor::gray);
    return separator;
}

QWidget* AccueilView::buildCards() {
    auto* cards = new QWidget(this);
    auto* row = new QHBoxLayout(cards);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(20);
    for (std::size_t i = 0; i < kModules.size(); ++i) {
        const ModuleEntry& module = kModules[i];
        auto* card = new ModuleCard(
            QString::fromUtf8(module.title), QString::fromUtf8(module.description), module.iconName,
            [this, target = module.target] { go(target); }, cards);
        debugOverlay(card, QStringLiteral("Card %1").arg(i + 1), DebugColor::indigo);
        row->addWidget(card, 1, Qt::AlignVCenter);
        cards_[i] = card;
    }
    debugOverlay(cards, QStringLiteral("Module Cards"), DebugColor::blue);
    return cards;
}

void AccueilView::go(NavigationItem target) {
    // Observers hear of it only when the page really changes; no guard is asked.
    appState_.selectedNavigationItem.set(target);
}

void AccueilView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyScale(AccueilScale::forPageArea(width(), height()));
}

void AccueilView::applyScale(double scale) {
    if (scale == scale_) {
        return;
    }
    scale_ = scale;
    for (const auto& [gap, restingValue] : scaledGaps_) {
        gap->setValue(restingValue * scale);
    }
    logo_->setSide(static_cast<int>(std::lround(kLogoSide * scale)));
    QFont title = Theme::font(kTitleSize * scale, FontWeight::regular);
    title.setLetterSpacing(QFont::AbsoluteSpacing, kTitleTracking * scale);
    title_->setFont(title);
    subtitle_->setFont(Theme::font(kSubtitleSize * scale, FontWeight::regular));
}

}  // namespace olvane::ui
