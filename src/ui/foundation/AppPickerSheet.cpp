#include "ui/foundation/AppPickerSheet.h"

#include <QAbstractListModel>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <map>

#include "platform/Paths.h"
#include "ui/foundation/AppPickerRow.h"
#include "ui/foundation/FramedField.h"
#include "ui/foundation/IconImage.h"
#include "ui/foundation/ProgressSpinner.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SheetHeader.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/ThemedTextField.h"
#include "ui/foundation/ThinScrollBar.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {
namespace {

// Each row is followed by a divider line.
constexpr int kDividerHeight = 1;

// A column of centred parts filling the space it gets.
QWidget* centredColumn(int spacing, std::initializer_list<QWidget*> parts, QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->setSpacing(spacing);
    layout->addStretch(1);
    for (QWidget* part : parts) {
        part->setParent(column);
        layout->addWidget(part, 0, Qt::AlignHCenter);
    }
    layout->addStretch(1);
    return column;
}

}  // namespace

// The applications of the list, with their grey icons made once.
class AppPickerSheet::ListModel final : public QAbstractListModel {
  public:
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(apps_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && index.isValid()) {
            return QString::fromStdString(at(index.row()).name);
        }
        return {};
    }

    const InstalledApp& at(int row) const { return apps_.at(static_cast<std::size_t>(row)); }
    bool isAdded(int row) const { return existing_->contains(at(row).bundleID); }
    const QImage& greyIcon(int row) const {
        const QImage& icon = at(row).icon;
        auto& grey = greyIcons_[icon.cacheKey()];
        if (grey.isNull()) {
            grey = IconImage::desaturated(icon);
        }
        return grey;
    }

    void show(std::vector<InstalledApp> apps, const std::set<std::string>& existing) {
        existing_ = &existing;
        const bool sameRows = std::equal(apps.begin(), apps.end(), apps_.begin(), apps_.end());
        if (sameRows) {
            // Same applications: only what they show may have changed.
            apps_ = std::move(apps);
            if (!apps_.empty()) {
                Q_EMIT dataChanged(index(0), index(static_cast<int>(apps_.size()) - 1));
            }
            return;
        }
        beginResetModel();
        apps_ = std::move(apps);
        endResetModel();
    }

  private:
    std::vector<InstalledApp> apps_;
    const std::set<std::string>* existing_ = nullptr;
    mutable std::map<qint64, QImage> greyIcons_;
};

class AppPickerSheet::RowDelegate final : public QStyledItemDelegate {
  public:
    RowDelegate(const ListModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), AppPickerRow::kHeight + kDividerHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRectF whole(option.rect);
        const QRectF row(whole.topLeft(), QSizeF(whole.width(), AppPickerRow::kHeight));
        const bool hovered = option.state & QStyle::State_MouseOver;
        const qreal scale = hovered ? AppPickerRow::hoverScale(row.size()) : 1.0;
        AppPickerRow(model_.at(index.row()), model_.isAdded(index.row()))
            .paint(*painter, row, model_.greyIcon(index.row()), scale);
        painter->fillRect(QRectF(whole.left(), row.bottom(), whole.width(), kDividerHeight),
                          Theme::withOpacity(Theme::black(), 0.1));
    }

  private:
    const ListModel& model_;
};

AppPickerSheet::AppPickerSheet(platform::Observable<bool>& isPresented,
                               std::set<std::string> existingBundleIDs,
                               std::function<void(const InstalledApp&)> onAppSelected,
                               InstalledAppsService& appsService, QWidget* parent)
    : QWidget(parent),
      isPresented_(isPresented),
      existingBundleIDs_(std::move(existingBundleIDs)),
      onAppSelected_(std::move(onAppSelected)),
      appsService_(appsService),
      header_(new SheetHeader(
          QStringLiteral("Ajouter une application"), [this] { isPresented_.set(false); }, this)),
      content_(new QStackedWidget(this)),
      model_(std::make_unique<ListModel>()) {
    setFixedSize(kSize);
    auto* field = new FramedField("magnifyingglass", 13,
                                  QStringLiteral("Rechercher une application…"), {}, this);
    search_ = field->field();

    auto* spinner = new ProgressSpinner(32 * 1.2, Theme::black());
    loading_ = centredColumn(16,
                             {spinner, themedLabel(QStringLiteral("Chargement des applications…"),
                                                   Theme::fontRegular14())},
                             content_);
    emptyLabel_ = new WrappingLabel(QString());
    emptyLabel_->setFont(Theme::fontRegular14());
    emptyLabel_->setAlignment(Qt::AlignHCenter);
    setTextColor(emptyLabel_, Theme::black());
    empty_ = centredColumn(12, {new SymbolView("app.dashed", 32, Theme::black()), emptyLabel_},
                           content_);

    list_ = new QListView(content_);
    list_->setModel(model_.get());
    list_->setItemDelegate(new RowDelegate(*model_, list_));
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setMouseTracking(true);
    list_->viewport()->setAttribute(Qt::WA_Hover);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->viewport()->setAutoFillBackground(false);
    useThinScrollBar(*list_);
    connect(list_, &QListView::clicked, this,
            [this](const QModelIndex& index) { selectApp(model_->at(index.row())); });
    content_->addWidget(loading_);
    content_->addWidget(empty_);
    content_->addWidget(list_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    auto* searchRow = new QVBoxLayout;
    searchRow->setContentsMargins(20, 0, 20, 12);
    searchRow->addWidget(field);
    column->addLayout(searchRow);
    column->addWidget(Separator::divider(this));
    column->addWidget(content_, 1);

    connect(search_, &QLineEdit::textChanged, this, [this] { redraw(); });
    observation_ = appsService_.observe([this] { redraw(); });
    redraw();
}

AppPickerSheet::~AppPickerSheet() {
    // The list goes before the model it shows.
    delete list_;
}

std::vector<InstalledApp> AppPickerSheet::filteredApps() const {
    const QString search = searchText();
    std::vector<InstalledApp> shown;
    for (const auto& app : appsService_.installedApps()) {
        if (app.bundleID == platform::Paths::kApplicationId) {
            continue;
        }
        if (search.isEmpty() ||
            QString::fromStdString(app.name).contains(search, Qt::CaseInsensitive)) {
            shown.push_back(app);
        }
    }
    return shown;
}

void AppPickerSheet::selectApp(const InstalledApp& app) {
    const InstalledApp chosen = app;
    if (onAppSelected_) {
        onAppSelected_(chosen);
    }
    isPresented_.set(false);
}

QString AppPickerSheet::searchText() const {
    return search_->text();
}

AppPickerSheet::Content AppPickerSheet::content() const {
    if (content_->currentWidget() == loading_) {
        return Content::loading;
    }
    return content_->currentWidget() == empty_ ? Content::empty : Content::list;
}

QString AppPickerSheet::emptyText() const {
    return emptyLabel_->text();
}

void AppPickerSheet::redraw() {
    if (appsService_.isLoading()) {
        content_->setCurrentWidget(loading_);
        return;
    }
    auto apps = filteredApps();
    if (apps.empty()) {
        const QString search = searchText();
        emptyLabel_->setText(search.isEmpty() ? QStringLiteral("Aucune application trouvée")
                                              : QStringLiteral("Aucun résultat pour \"") + search +
                                                    QStringLiteral("\""));
        content_->setCurrentWidget(empty_);
        return;
    }
    model_->show(std::move(apps), existingBundleIDs_);
    content_->setCurrentWidget(list_);
}

void AppPickerSheet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (appsService_.installedApps().empty()) {
        appsService_.loadInstalledApps();
    }
    search_->clear();
    search_->setFocus();
}

void AppPickerSheet::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::white());
}

}  // namespace olvane::ui
