#include "ui/pages/contrepoids/RedListSection.h"

#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/ExceptionTabBar.h"
#include "ui/foundation/FadingSeparator.h"
#include "ui/foundation/SectionHeaderLabel.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"
#include "ui/pages/contrepoids/FrictionEffectsViewModel.h"

namespace olvane::ui {
namespace {

constexpr int kInset = 16;
constexpr int kGap = 16;
constexpr int kTabGap = 8;

QVBoxLayout* stack(QWidget* widget) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QWidget* padded(QWidget* content, const QString& label) {
    return new DebugPaddingOverlay(content, QMarginsF(kInset, 0, kInset, 0), label);
}

// Gone from the screen now, from memory once control is back in the loop: the click that
// removes it may come from its own button.
void discard(QWidget* widget) {
    widget->hide();
    widget->deleteLater();
}

}  // namespace

// The rows of one tab in the model's order, a separator between two rows, and the add row. A
// row whose target stays keeps its widget, its icon and its panel with it.
class RedListSection::TargetList {
  public:
    TargetList(RedListSection& section, QString addLabel, std::function<void()> openPicker,
               RedListItemRow::IconSources icons)
        : widget(new QWidget(&section)),
          section_(section),
          layout_(stack(widget)),
          addLabel_(std::move(addLabel)),
          openPicker_(std::move(openPicker)),
          icons_(icons) {}

    void show(const std::vector<RedListConfig>& targets) {
        // A change inside a target is the row's own business.
        const bool sameTargets =
            std::equal(rows.begin(), rows.end(), targets.begin(), targets.end(),
                       [](RedListItemRow* row, const RedListConfig& target) {
                           return row->configId() == target.id;
                       });
        if (sameTargets && add) {
            return;
        }
        std::map<Uuid, RedListItemRow*> kept;
        for (auto* row : rows) {
            kept.emplace(row->configId(), row);
        }
        std::vector<RedListItemRow*> next;
        for (const auto& target : targets) {
            const auto found = kept.find(target.id);
            if (found != kept.end()) {
                next.push_back(found->second);
                kept.erase(found);
            } else {
                next.push_back(makeRow(target.id));
            }
        }
        for (auto& [id, row] : kept) {
            layout_->removeWidget(row);
            discard(row);
        }
        for (auto* separator : separators) {
            layout_->removeWidget(separator);
            discard(separator);
        }
        separators.clear();
        int index = 0;
        for (std::size_t i = 0; i < next.size(); ++i) {
            if (i > 0) {
                auto* separator = new FadingSeparator(false, widget);
                separators.push_back(separator);
                layout_->insertWidget(index++, separator);
                separator->show();
            }
            layout_->removeWidget(next[i]);
            layout_->insertWidget(index++, next[i]);
            next[i]->show();
        }
        rows = std::move(next);
        showAddRow();
        showExpansion();
    }

    // A separator is hidden while a row beside it is open; the add row's while the last is.
    void showExpansion() {
        const auto& open = section_.expandedItemIds();
        const auto isOpen = [&open](RedListItemRow* row) { return open.contains(row->configId()); };
        for (std::size_t i = 0; i < separators.size(); ++i) {
            separators[i]->setLineHidden(isOpen(rows[i]) || isOpen(rows[i + 1]));
        }
        if (add) {
            add->setSeparatorHidden(!rows.empty() && isOpen(rows.back()));
        }
    }

    QWidget* widget;
    std::vector<RedListItemRow*> rows;
    std::vector<FadingSeparator*> separators;
    AddExceptionRow* add = nullptr;

  private:
    RedListItemRow* makeRow(const Uuid& id) {
        auto& model = section_.viewModel_;
        return new RedListItemRow(
            id, model, section_.expandedItemIds, icons_, [&model, id] { model.removeTarget(id); },
            widget);
    }

    void showAddRow() {
        add = AddExceptionRow::keptAtEnd(add, *layout_, addLabel_, openPicker_, !rows.empty(),
                                         widget);
        add->show();
    }

    RedListSection& section_;
    QVBoxLayout* layout_;
    QString addLabel_;
    std::function<void()> openPicker_;
    RedListItemRow::IconSources icons_;
};

RedListSection::RedListSection(FrictionEffectsViewModel& viewModel,
                               platform::Observable<bool>& showAppPicker,
                               platform::Observable<bool>& showSitePicker,
                               RedListItemRow::IconSources icons, QWidget* parent)
    : QWidget(parent), viewModel_(viewModel) {
    auto* column = stack(this);
    column->addWidget(sectionHeaderLabel(QStringLiteral("Cibles"), this), 0, Qt::AlignLeft);
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p4"), kGap));
    auto* explanation = new WrappingLabel(
        QStringLiteral("Configure les contrepoids pour ces applications et sites web"), this);
    explanation->setFont(Theme::fontRegular14());
    setTextColor(explanation, Theme::textPrimary());
    column->addWidget(padded(explanation, QStringLiteral("text.padH")));
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p4"), kGap));

    auto* block = new QWidget(this);
    auto* blockColumn = stack(block);
    tabBar_ = new ExceptionTabBar(selectedTab, 0, 0, block);
    blockColumn->addWidget(tabBar_);
    blockColumn->addWidget(new DebugSpacingIndicator(QStringLiteral("p2"), kTabGap));
    apps_ = std::make_unique<TargetList>(
        *this, QStringLiteral("Ajouter une application"),
        [&showAppPicker] { showAppPicker.set(true); }, icons);
    sites_ = std::make_unique<TargetList>(
        *this, QStringLiteral("Ajouter un site web"),
        [&showSitePicker] { showSitePicker.set(true); }, icons);
    blockColumn->addWidget(apps_->widget);
    blockColumn->addWidget(sites_->widget);
    column->addWidget(padded(block, QStringLiteral("list.padH")));
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p4"), kGap));
    debugOverlay(this, QStringLiteral("RedListSection"), DebugColor::cyan);

    observations_.push_back(
        viewModel_.redListConfigs.observe([this](const auto&) { showTargets(); }));
    observations_.push_back(expandedItemIds.observe([this](const auto&) {
        apps_->showExpansion();
        sites_->showExpansion();
    }));
    observations_.push_back(selectedTab.observe([this](ExceptionTab) { showTab(); }));
    showTargets();
    showTab();
}

// The rows watch the flags and the model: they go before them.
RedListSection::~RedListSection() {
    observations_.clear();
    delete apps_->widget;
    delete sites_->widget;
}

std::vector<RedListItemRow*> RedListSection::rows(ExceptionTab tab) const {
    return list(tab).rows;
}

std::vector<FadingSeparator*> RedListSection::separators(ExceptionTab tab) const {
    return list(tab).separators;
}

AddExceptionRow* RedListSection::addRow(ExceptionTab tab) const {
    return list(tab).add;
}

QWidget* RedListSection::shownList() const {
    return list(selectedTab()).widget;
}

RedListSection::TargetList& RedListSection::list(ExceptionTab tab) const {
    return tab == ExceptionTab::apps ? *apps_ : *sites_;
}

void RedListSection::showTargets() {
    apps_->show(viewModel_.appTargets());
    sites_->show(viewModel_.siteTargets());
    tabBar_->setCounts(static_cast<int>(apps_->rows.size()), static_cast<int>(sites_->rows.size()));
}

void RedListSection::showTab() {
    const bool apps = selectedTab() == ExceptionTab::apps;
    apps_->widget->setVisible(apps);
    sites_->widget->setVisible(!apps);
}

}  // namespace olvane::ui
