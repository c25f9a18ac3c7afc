#include "ui/pages/monochrome/GrayscaleExceptionsSection.h"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <type_traits>

#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/ExceptionTabBar.h"
#include "ui/foundation/PageSection.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/pages/monochrome/AllowedAppRowView.h"
#include "ui/pages/monochrome/AllowedSiteRowView.h"
#include "ui/pages/monochrome/GrayscaleFilterViewModel.h"

namespace olvane::ui {
namespace {

constexpr int kTabGap = 8;

QVBoxLayout* stack(QWidget* widget) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A widget that goes now from the screen, and from memory once control is back in the loop:
// the click that removes it may come from its own button.
void discard(QWidget* widget) {
    widget->hide();
    widget->deleteLater();
}

// A row added to a list on screen comes on screen now, not one turn of the loop later: it
// looks its icon up then.
void showNow(QWidget* row) {
    if (row->parentWidget()->isVisible()) {
        row->show();
    }
}

}  // namespace

// The rows of one list, one per datum in the data's order, followed by the add row. A row whose
// entry stays keeps its widget, and with it the icon and name it has looked up.
template <typename Row>
class GrayscaleExceptionsSection::RowList {
  public:
    using Data = std::remove_cvref_t<decltype(std::declval<const Row&>().data())>;
    using Make = std::function<Row*(const Data&)>;

    RowList(QWidget* parent, QString addLabel, std::function<void()> openPicker, Make make)
        : widget(new QWidget(parent)),
          layout_(stack(widget)),
          addLabel_(std::move(addLabel)),
          openPicker_(std::move(openPicker)),
          make_(std::move(make)) {}

    void show(const std::vector<Data>& data) {
        std::vector<Row*> next;
        for (const auto& datum : data) {
            const auto kept = std::find_if(rows.begin(), rows.end(), [&](Row* row) {
                return row && row->data().id == datum.id;
            });
            if (kept != rows.end()) {
                (*kept)->setData(datum);
                next.push_back(std::exchange(*kept, nullptr));
            } else {
                next.push_back(make_(datum));
            }
        }
        for (Row* gone : rows) {
            if (gone) {
                layout_->removeWidget(gone);
                discard(gone);
            }
        }
        for (std::size_t i = 0; i < next.size(); ++i) {
            layout_->removeWidget(next[i]);
            layout_->insertWidget(static_cast<int>(i), next[i]);
            showNow(next[i]);
        }
        rows = std::move(next);
        showAddRow(!rows.empty());
    }

    QWidget* widget;
    std::vector<Row*> rows;
    AddExceptionRow* add = nullptr;

  private:
    void showAddRow(bool separated) {
        add = AddExceptionRow::keptAtEnd(add, *layout_, addLabel_, openPicker_, separated, widget);
        showNow(add);
    }

    QVBoxLayout* layout_;
    QString addLabel_;
    std::function<void()> openPicker_;
    Make make_;
};

GrayscaleExceptionsSection::GrayscaleExceptionsSection(GrayscaleFilterViewModel& viewModel,
                                                       platform::Observable<bool>& showAppPicker,
                                                       platform::Observable<bool>& showSitePicker,
                                                       InstalledAppsService& apps,
                                                       FaviconService& favicons, QWidget* parent)
    : QWidget(parent), viewModel_(viewModel) {
    auto* column = PageSection::column(this, QStringLiteral("Exceptions"));
    auto* explanation =
        themedLabel(QStringLiteral("Ces applications et sites web resteront toujours en couleur"),
                    Theme::fontRegular14(), this);
    explanation->setWordWrap(true);
    column->addWidget(PageSection::padded(explanation, this));
    column->addWidget(PageSection::gap());

    auto* block = new QWidget(this);
    auto* blockColumn = stack(block);
    tabBar_ = new ExceptionTabBar(selectedTab, 0, 0, block);
    debugOverlay(tabBar_, QStringLiteral("tabBar"), DebugColor::blue);
    blockColumn->addWidget(tabBar_);
    blockColumn->addWidget(new DebugSpacingIndicator(QStringLiteral("p2"), kTabGap));
    auto* lists = new QWidget(block);
    auto* listColumn = stack(lists);
    apps_ = std::make_unique<RowList<AllowedAppRowView>>(
        lists, QStringLiteral("Ajouter une application"),
        [&showAppPicker] { showAppPicker.set(true); },
        [this, &apps](const AllowedAppRowData& row) {
            return new AllowedAppRowView(
                row, apps, [this](const std::string& id) { viewModel_.removeApp(id); });
        });
    sites_ = std::make_unique<RowList<AllowedSiteRowView>>(
        lists, QStringLiteral("Ajouter un site web"),
        [&showSitePicker] { showSitePicker.set(true); },
        [this, &favicons](const AllowedSiteRowData& row) {
            return new AllowedSiteRowView(
                row, favicons, [this](const std::string& site) { viewModel_.removeSite(site); });
        });
    listColumn->addWidget(apps_->widget);
    listColumn->addWidget(sites_->widget);
    blockColumn->addWidget(lists);
    column->addWidget(PageSection::padded(block, this));
    column->addWidget(PageSection::gap());
    debugOverlay(this, QStringLiteral("ExceptionsSection"), DebugColor::cyan);

    observations_.push_back(
        viewModel_.allowedAppsRowData.observe([this](const auto& rows) { apps_->show(rows); }));
    observations_.push_back(
        viewModel_.allowedSitesRowData.observe([this](const auto& rows) { sites_->show(rows); }));
    const auto counts = [this](const auto&) { showCounts(); };
    observations_.push_back(viewModel_.allowedApps.observe(counts));
    observations_.push_back(viewModel_.allowedSites.observe(counts));
    observations_.push_back(selectedTab.observe([this](ExceptionTab) { showTab(); }));
    apps_->show(viewModel_.allowedAppsRowData());
    sites_->show(viewModel_.allowedSitesRowData());
    showCounts();
    showTab();
}

GrayscaleExceptionsSection::~GrayscaleExceptionsSection() = default;

std::vector<AllowedAppRowView*> GrayscaleExceptionsSection::appRows() const {
    return apps_->rows;
}

std::vector<AllowedSiteRowView*> GrayscaleExceptionsSection::siteRows() const {
    return sites_->rows;
}

AddExceptionRow* GrayscaleExceptionsSection::addAppRow() const {
    return apps_->add;
}

AddExceptionRow* GrayscaleExceptionsSection::addSiteRow() const {
    return sites_->add;
}

QWidget* GrayscaleExceptionsSection::shownList() const {
    return selectedTab() == ExceptionTab::apps ? apps_->widget : sites_->widget;
}

void GrayscaleExceptionsSection::showTab() {
    const bool apps = selectedTab() == ExceptionTab::apps;
    apps_->widget->setVisible(apps);
    sites_->widget->setVisible(!apps);
}

void GrayscaleExceptionsSection::showCounts() {
    tabBar_->setCounts(static_cast<int>(viewModel_.allowedApps().size()),
                       static_cast<int>(viewModel_.allowedSites().size()));
}

}  // namespace olvane::ui
