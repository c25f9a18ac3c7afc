#include "ui/configurateur/Screen12_Recap.h"

#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/RecapModuleLine.h"
#include "ui/foundation/SectionCardFlush.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/ThinScrollBar.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {
namespace {

constexpr int kCardPadding = 16;
constexpr int kHeaderPaddingH = 20;
constexpr int kHeaderPaddingV = 16;
constexpr int kHeaderSpacing = 8;
constexpr qreal kHeaderSymbolSize = 20;
constexpr int kFooterPaddingH = 20;
constexpr int kFooterPaddingV = 24;

void fill(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QWidget* header() {
    auto* band = new QWidget();
    fill(*band, Theme::black());
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(kHeaderPaddingH, kHeaderPaddingV, kHeaderPaddingH, kHeaderPaddingV);
    row->setSpacing(kHeaderSpacing);
    row->addWidget(new SymbolView("list.bullet.rectangle", kHeaderSymbolSize, Theme::white()), 0,
                   Qt::AlignVCenter);
    auto* title =
        themedLabel(QStringLiteral("Récapitulatif de ta configuration"), Theme::fontMedium14());
    setTextColor(title, Theme::white());
    row->addWidget(title, 0, Qt::AlignVCenter);
    row->addStretch(1);
    return band;
}

QWidget* footer() {
    auto* text = new WrappingLabel(QStringLiteral(
        "Chaque réglage est ajustable en détail dans les pages Monochrome, Contrepoids et "
        "Assainisseur de l'application. Tu y trouveras également différentes options de "
        "personnalisation supplémentaires."));
    text->setFont(Theme::fontMedium14());
    setTextColor(text, Theme::black());
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setContentsMargins(kFooterPaddingH, kFooterPaddingV, kFooterPaddingH, kFooterPaddingV);
    return text;
}

// "1 cible", "4 cibles": the word takes an "s" from two on.
QString counted(std::size_t count, const QString& singular, const QString& plural) {
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? singular : plural);
}

// The enabled rules of the platform's first entry.
int enabledRules(const std::vector<PlatformRules>& drafts, Platform platform) {
    const auto entry = std::ranges::find(drafts, platform, &PlatformRules::platform);
    if (entry == drafts.end()) {
        return 0;
    }
    return static_cast<int>(std::ranges::count(entry->rules, true, &ContentRule::isEnabled));
}

}  // namespace

Screen12_Recap::Screen12_Recap(ConfigurateurViewModel& viewModel, RecapMonoIcon::Services services,
                               QWidget* parent)
    : QWidget(parent), viewModel_(viewModel) {
    const auto& m = viewModel_;
    monochrome_ =
        new RecapModuleLine("circle.lefthalf.filled", QStringLiteral("Monochrome"),
                            monochromeCountText(m), monochromeLogos(m), kMaxVisibleLogos, services);
    contrepoids_ = new RecapModuleLine("scalemass.fill", QStringLiteral("Contrepoids"),
                                       contrepoidsCountText(m), contrepoidsLogos(m),
                                       kMaxVisibleLogos, services);
    assainisseur_ = new RecapModuleLine("bubbles.and.sparkles.fill", QStringLiteral("Assainisseur"),
                                        assainisseurCountText(m), assainisseurLogos(m),
                                        kMaxVisibleLogos, services);

    auto* inside = new QWidget();
    auto* column = new QVBoxLayout(inside);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header());
    for (auto* line : {monochrome_, contrepoids_, assainisseur_}) {
        column->addWidget(line);
        column->addWidget(Separator::divider());
    }
    column->addWidget(footer());

    auto* padded = new QWidget();
    fill(*padded, Theme::white());
    auto* around = new QVBoxLayout(padded);
    around->setContentsMargins(kCardPadding, 0, kCardPadding, kCardPadding);
    around->addWidget(new SectionCardFlush(inside));
    around->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidgetResizable(true);
    useThinScrollBar(*scroll);
    scroll->setWidget(padded);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroll);

    const auto redraw = [this](const auto&) { refresh(); };
    observations_.push_back(viewModel_.wantsGrayscaleEnabled.observe(redraw));
    observations_.push_back(viewModel_.grayscaleAllowedAppsDraft.observe(redraw));
    observations_.push_back(viewModel_.grayscaleAllowedSitesDraft.observe(redraw));
    observations_.push_back(viewModel_.redListTargetsDraft.observe(redraw));
    observations_.push_back(viewModel_.contentFilterRulesDraft.observe(redraw));
}

void Screen12_Recap::refresh() {
    const auto& m = viewModel_;
    monochrome_->setCountText(monochromeCountText(m));
    monochrome_->setLogos(monochromeLogos(m));
    contrepoids_->setCountText(contrepoidsCountText(m));
    contrepoids_->setLogos(contrepoidsLogos(m));
    assainisseur_->setCountText(assainisseurCountText(m));
    assainisseur_->setLogos(assainisseurLogos(m));
}

std::vector<RecapMonoIcon::Source> Screen12_Recap::monochromeLogos(
    const ConfigurateurViewModel& model) {
    std::vector<RecapMonoIcon::Source> logos;
    if (!model.wantsGrayscaleEnabled()) {
        return logos;
    }
    for (const auto& app : model.grayscaleAllowedAppsDraft()) {
        logos.emplace_back(RecapMonoIcon::App{app});
    }
    for (const auto& site : model.grayscaleAllowedSitesDraft()) {
        logos.emplace_back(RecapMonoIcon::Site{site});
    }
    return logos;
}

QString Screen12_Recap::monochromeCountText(const ConfigurateurViewModel& model) {
    if (!model.wantsGrayscaleEnabled()) {
        return QStringLiteral("Désactivé");
    }
    const auto exceptions = monochromeLogos(model).size();
    if (exceptions == 0) {
        return QStringLiteral("Activé");
    }
    return QStringLiteral("Activé · ") +
           counted(exceptions, QStringLiteral("exception"), QStringLiteral("exceptions"));
}

std::vector<RecapMonoIcon::Source> Screen12_Recap::contrepoidsLogos(
    const ConfigurateurViewModel& model) {
    std::vector<RecapMonoIcon::Source> logos;
    for (const auto& target : model.redListTargetsDraft()) {
        if (target.targetType == FrictionTargetType::website) {
            logos.emplace_back(RecapMonoIcon::Site{target.targetIdentifier});
        } else {
            logos.emplace_back(RecapMonoIcon::App{target.targetIdentifier});
        }
    }
    return logos;
}

QString Screen12_Recap::contrepoidsCountText(const ConfigurateurViewModel& model) {
    const auto targets = model.redListTargetsDraft().size();
    if (targets == 0) {
        return QStringLiteral("Aucune cible");
    }
    return counted(targets, QStringLiteral("cible"), QStringLiteral("cibles"));
}

int Screen12_Recap::activeRuleCount(const ConfigurateurViewModel& model) {
    int count = 0;
    for (const auto platform : allCases<Platform>()) {
        count += enabledRules(model.contentFilterRulesDraft(), platform);
    }
    return count;
}

std::vector<RecapMonoIcon::Source> Screen12_Recap::assainisseurLogos(
    const ConfigurateurViewModel& model) {
    std::vector<RecapMonoIcon::Source> logos;
    for (const auto platform : allCases<Platform>()) {
        if (enabledRules(model.contentFilterRulesDraft(), platform) > 0) {
            logos.emplace_back(platform);
        }
    }
    return logos;
}

QString Screen12_Recap::assainisseurCountText(const ConfigurateurViewModel& model) {
    const int rules = activeRuleCount(model);
    if (rules < 1) {
        return QStringLiteral("Aucune règle active");
    }
    return counted(static_cast<std::size_t>(rules), QStringLiteral("règle active"),
                   QStringLiteral("règles actives"));
}

}  // namespace olvane::ui
