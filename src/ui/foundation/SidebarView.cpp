#include "ui/foundation/SidebarView.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/ExtensionStatusSection.h"
#include "ui/foundation/NavigationRow.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SidebarHeader.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

// `widget` inside the given margins.
QLayout* padded(QWidget* widget, int left, int top, int right, int bottom) {
    auto* box = new QVBoxLayout();
    box->setContentsMargins(left, top, right, bottom);
    box->setSpacing(0);
    box->addWidget(widget);
    return box;
}

}  // namespace

const std::vector<NavigationItem>& SidebarView::orientationItems() {
    static const std::vector<NavigationItem> items{NavigationItem::configurateur,
                                                   NavigationItem::guide, NavigationItem::settings};
    return items;
}

const std::vector<NavigationItem>& SidebarView::protectionItems() {
    static const std::vector<NavigationItem> items{NavigationItem::grayscaleFilter,
                                                   NavigationItem::frictionEffects,
                                                   NavigationItem::contentFilter};
    return items;
}

SidebarView::SidebarView(AppState& appState, std::vector<NavigationItem> orientation,
                         std::vector<NavigationItem> protection, QWidget* parent)
    : QWidget(parent), appState_(appState), header_(new SidebarHeader(this)) {
    setFixedWidth(kWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    connect(header_, &QAbstractButton::clicked, this,
            [this] { navigate(NavigationItem::accueil); });
    column->addWidget(header_);
    debugOverlay(header_, QStringLiteral("Header"), DebugColor::orange);
    column->addLayout(padded(Separator::divider(this), 16, 0, 16, 0));
    column->addWidget(
        makeGroup(protection, true, 16, {QStringLiteral("Protection"), DebugColor::blue}));
    column->addLayout(padded(new Separator(Qt::Horizontal, Theme::separator(), this),
                             kSeparatorInset, 16, kSeparatorInset, 16));
    column->addWidget(
        makeGroup(orientation, false, 0, {QStringLiteral("Orientation"), DebugColor::green}));
    column->addLayout(padded(new Separator(Qt::Horizontal, Theme::separator(), this),
                             kSeparatorInset, 16, kSeparatorInset, 16));
    column->addStretch(1);

    auto* bottom = new QVBoxLayout();
    bottom->setContentsMargins(0, 0, 0, 16);
    bottom->setSpacing(8);
    bottom->addLayout(
        padded(new ExtensionStatusSection(appState_, {}, this), 28, 0, kSeparatorInset, 0));
    bottom->addLayout(
        padded(makeRow(NavigationItem::extensions, false, QStringLiteral("Gérer les extensions")),
               12, 0, 12, 0));
    column->addLayout(bottom);

    showSelection();
    observation_ = appState_.selectedNavigationItem.observe([this](auto) { showSelection(); });
}

void SidebarView::navigate(NavigationItem target) {
    appState_.requestNavigation(target);
}

NavigationRow* SidebarView::row(NavigationItem item) const {
    for (auto* row : rows_) {
        if (row->item() == item) {
            return row;
        }
    }
    return nullptr;
}

QWidget* SidebarView::makeGroup(const std::vector<NavigationItem>& items, bool showIcon,
                                int topPadding, const DebugName& name) {
    auto* group = new QWidget(this);
    group->setObjectName(name.label);
    auto* rows = new QVBoxLayout(group);
    rows->setContentsMargins(12, topPadding, 12, 0);
    rows->setSpacing(4);
    for (const auto item : items) {
        rows->addWidget(makeRow(item, showIcon, std::nullopt));
    }
    debugOverlay(group, name.label, name.color);
    return group;
}

NavigationRow* SidebarView::makeRow(NavigationItem item, bool showIcon,
                                    std::optional<QString> label) {
    auto* row =
        new NavigationRow(item, NavigationRow::Options{false, showIcon, std::move(label)}, this);
    connect(row, &QAbstractButton::clicked, this, [this, item] { navigate(item); });
    rows_.push_back(row);
    return row;
}

void SidebarView::showSelection() {
    const auto selected = appState_.selectedNavigationItem.get();
    for (auto* row : rows_) {
        row->setSelected(row->item() == selected);
    }
    header_->setHoverScaleEnabled(selected != NavigationItem::accueil);
}

void SidebarView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::sidebarBackground());
}

}  // namespace olvane::ui
