#include "ui/configurateur/Screen1_Welcome.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorButtons.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/SectionCard.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 16;
constexpr int kBlockGap = 24;
constexpr int kModuleSpacing = 12;
constexpr int kModuleSymbolSide = 24;
constexpr int kClockSpacing = 8;
constexpr qreal kClockSize = 16;

QHBoxLayout* paddedRow() {
    auto* row = new QHBoxLayout();
    row->setContentsMargins(kPaddingH, 0, kPaddingH, 0);
    row->setSpacing(0);
    return row;
}

QLabel* title(QWidget* parent) {
    QFont font = Theme::fontSemibold14();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    auto* label = themedLabel(QStringLiteral("Trois modules à pré-régler").toUpper(), font, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

QWidget* moduleCard(const Screen1_Welcome::WelcomeModule& module, QWidget* parent) {
    auto* column = new QWidget();
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kModuleSpacing);
    auto* symbol = new SymbolView(module.icon, kModuleSymbolSide, Theme::black(), column);
    symbol->setFixedSize(kModuleSymbolSide, kModuleSymbolSide);
    layout->addWidget(symbol);
    layout->addWidget(themedLabel(module.name, Theme::fontMedium14(), column));
    auto* description = new WrappingLabel(module.description, column);
    description->setFont(Theme::fontRegular14());
    setTextColor(description, Theme::black());
    layout->addWidget(description);
    layout->addStretch(1);
    auto* card = new SectionCard(column, parent);
    // The three cards share the row's width equally, whatever their texts.
    card->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    card->setObjectName(module.name);
    return card;
}

QHBoxLayout* timeEstimate(QWidget* parent) {
    auto* row = new QHBoxLayout();
    row->setSpacing(kClockSpacing);
    row->addStretch(1);
    row->addWidget(new SymbolView("clock", kClockSize, Theme::black(), parent), 0,
                   Qt::AlignVCenter);
    row->addWidget(themedLabel(QStringLiteral("3 à 5 minutes"), Theme::fontRegular14(), parent), 0,
                   Qt::AlignVCenter);
    row->addStretch(1);
    return row;
}

void addGap(QVBoxLayout* column) {
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p6"), kBlockGap));
}

}  // namespace

std::array<Screen1_Welcome::WelcomeModule, 3> Screen1_Welcome::modules() {
    return {{
        {"circle.lefthalf.filled", QStringLiteral("Monochrome"),
         QStringLiteral("Préserve ton attention avec un filtre noir et blanc")},
        {"scalemass.fill", QStringLiteral("Contrepoids"),
         QStringLiteral("Rends ennuyeux tes usages non-désirés")},
        {"bubbles.and.sparkles.fill", QStringLiteral("Assainisseur"),
         QStringLiteral("Améliore ta concentration sur internet")},
    }};
}

Screen1_Welcome::Screen1_Welcome(ConfigurateurViewModel& viewModel, AppState& appState,
                                 platform::RunLoop& loop, QWidget* parent)
    : QWidget(parent),
      start_(ConfiguratorButtons::make(
          QStringLiteral("Lancer la configuration"), ConfiguratorButtons::primary(),
          [&viewModel] { viewModel.goNext(); }, this)),
      appState_(appState),
      loop_(loop) {
    start_->setFocusPolicy(Qt::StrongFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addStretch(1);

    auto* titleRow = paddedRow();
    titleRow->addWidget(title(this));
    column->addLayout(titleRow);
    addGap(column);

    auto* cards = paddedRow();
    cards->setSpacing(kModuleSpacing);
    for (const auto& module : modules()) {
        cards->addWidget(moduleCard(module, this), 1);
    }
    column->addLayout(cards);
    addGap(column);
    column->addLayout(timeEstimate(this));
    addGap(column);

    auto* startRow = paddedRow();
    startRow->addStretch(1);
    startRow->addWidget(start_);
    startRow->addStretch(1);
    column->addLayout(startRow);
    column->addStretch(1);

    auto* start = new QShortcut(this);
    start->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    connect(start, &QShortcut::activated, start_, &QAbstractButton::click);
    auto* home = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(home, &QShortcut::activated, this, [this] { skipToHome(); });
}

void Screen1_Welcome::skipToHome() {
    appState_.selectedNavigationItem.set(NavigationItem::accueil);
}

void Screen1_Welcome::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    focusTimer_ = loop_.after(kFocusDelay, [this] { start_->setFocus(Qt::OtherFocusReason); });
}

}  // namespace olvane::ui
