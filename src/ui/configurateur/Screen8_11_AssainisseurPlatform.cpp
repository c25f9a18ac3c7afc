#include "ui/configurateur/Screen8_11_AssainisseurPlatform.h"

#include <QVBoxLayout>
#include <algorithm>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorQuestionCard.h"

namespace olvane::ui {

QString Screen8_11_AssainisseurPlatform::question(Platform platform) {
    switch (platform) {
        case Platform::youtube:
            return QStringLiteral(
                "Souhaites-tu simplifier l'interface de YouTube sur ton navigateur ?");
        case Platform::instagram:
            return QStringLiteral(
                "Souhaites-tu simplifier l'interface d'Instagram sur ton navigateur ?");
        case Platform::linkedin:
            return QStringLiteral(
                "Souhaites-tu simplifier l'interface de LinkedIn sur ton navigateur ?");
        case Platform::facebook:
            return QStringLiteral(
                "Souhaites-tu simplifier l'interface de Facebook sur ton navigateur ?");
    }
    return {};
}

Screen8_11_AssainisseurPlatform::Screen8_11_AssainisseurPlatform(ConfigurateurViewModel& viewModel,
                                                                 Platform platform, QWidget* parent)
    : QWidget(parent), viewModel_(viewModel), platform_(platform) {
    auto* answer = new QWidget();
    column_ = new QVBoxLayout(answer);
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(0);
    rows_ = std::make_unique<KeyedRows<std::string, ContentRuleRow>>(*column_, 0);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(
        new ConfiguratorQuestionCard(question(platform_), "bubbles.and.sparkles.fill", answer));
    page->addStretch(1);
    showRows();
    observation_ = viewModel_.contentFilterRulesDraft.observe([this](const auto&) { showRows(); });
}

std::vector<ContentRule> Screen8_11_AssainisseurPlatform::rules() const {
    const auto& drafts = viewModel_.contentFilterRulesDraft();
    const auto entry = std::ranges::find(drafts, platform_, &PlatformRules::platform);
    return entry == drafts.end() ? std::vector<ContentRule>{} : entry->rules;
}

void Screen8_11_AssainisseurPlatform::showRows() {
    const auto shown = rules();
    std::vector<std::string> ids;
    for (const auto& rule : shown) {
        ids.push_back(rule.id);
    }
    rows_->show(ids, [this, &shown](const std::string& id) {
        const auto& rule = *std::ranges::find(shown, id, &ContentRule::id);
        return new ContentRuleRow(
            rule, [this, id](bool enabled) { viewModel_.setRule(platform_, id, enabled); });
    });
    for (const auto& rule : shown) {
        auto* row = rows_->row(rule.id);
        row->setRule(rule);
        row->setSeparatorShown(rule.id != shown.back().id);
    }
}

}  // namespace olvane::ui
