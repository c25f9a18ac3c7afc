#include "ui/pages/contrepoids/EffectsSection.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/SectionHeaderLabel.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/contrepoids/EffectRow.h"
#include "ui/pages/contrepoids/FrictionEffectsViewModel.h"

namespace olvane::ui {
namespace {

constexpr int kSectionGap = 16;
constexpr int kSeparatorGap = 12;
constexpr int kSeparatorInset = 16;

// The faint line between two effects.
class EffectSeparator final : public QWidget {
  public:
    EffectSeparator() { setFixedHeight(1); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Theme::withOpacity(Theme::black(), 0.1));
    }
};

QWidget* separator() {
    auto* padded = new DebugPaddingOverlay(new EffectSeparator(),
                                           QMarginsF(kSeparatorInset, 0, kSeparatorInset, 0),
                                           QStringLiteral("sep.padH"));
    debugOverlay(padded, QStringLiteral("Séparateur"), DebugColor::gray);
    return padded;
}

}  // namespace

EffectsSection::EffectsSection(FrictionEffectsViewModel& viewModel, QWidget* parent)
    : QWidget(parent), viewModel_(viewModel) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* header = sectionHeaderLabel(QStringLiteral("Présentation"), this);
    debugOverlay(header, QStringLiteral("headerText"), DebugColor::purple);
    column->addWidget(header, 0, Qt::AlignLeft);
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p4 (après titre)"), kSectionGap));

    auto* container = new QWidget(this);
    auto* effects = new QVBoxLayout(container);
    effects->setContentsMargins(0, 0, 0, 0);
    effects->setSpacing(0);
    auto& model = viewModel_;
    rows_ = {
        new EffectRow(
            QStringLiteral("Buée"), "humidity",
            QStringLiteral("Affiche de la buée qui s'estompe sous la trajectoire de la souris"),
            [&model] { model.testFog(); }, [&model] { model.stopTests(); }, container),
        new EffectRow(
            QStringLiteral("Tortue"), "tortoise.fill",
            QStringLiteral("Diminue la sensibilité de la souris et de sa molette"),
            [&model] { model.testTurtle(); }, [&model] { model.stopTests(); }, container),
        new EffectRow(
            QStringLiteral("Délai"), "clock.fill",
            QStringLiteral("Ajoute un temps d'attente avant d'accéder au contenu"),
            [&model] { model.testDelay(); }, [&model] { model.stopTests(); }, container),
    };
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (i > 0) {
            effects->addWidget(
                new DebugSpacingIndicator(QStringLiteral("p3 (avant séparateur)"), kSeparatorGap));
            effects->addWidget(separator());
            effects->addWidget(
                new DebugSpacingIndicator(QStringLiteral("p3 (après séparateur)"), kSeparatorGap));
        }
        debugOverlay(rows_[i], QStringLiteral("EffectRow:") + rows_[i]->name(), DebugColor::brown);
        effects->addWidget(rows_[i]);
    }
    debugOverlay(container, QStringLiteral("EffectsContainer"), DebugColor::indigo);
    column->addWidget(container);
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p4 (bottom)"), kSectionGap));
    debugOverlay(this, QStringLiteral("EffectsSection"), DebugColor::gray);

    for (auto* flag :
         {&viewModel_.isFogTesting, &viewModel_.isTurtleTesting, &viewModel_.isDelayTesting}) {
        observations_.push_back(flag->observe([this](bool) { showTests(); }));
    }
    observations_.push_back(
        viewModel_.testRemainingSeconds.observe([this](std::int64_t) { showTests(); }));
    showTests();
}

void EffectsSection::showTests() {
    const std::int64_t seconds = viewModel_.testRemainingSeconds();
    rows_[0]->setTesting(viewModel_.isFogTesting(), seconds);
    rows_[1]->setTesting(viewModel_.isTurtleTesting(), seconds);
    rows_[2]->setTesting(viewModel_.isDelayTesting(), seconds);
}

}  // namespace olvane::ui
