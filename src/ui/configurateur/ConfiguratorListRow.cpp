#include "ui/configurateur/ConfiguratorListRow.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kSpacing = 12;
constexpr int kPaddingV = 8;
constexpr int kIconSide = 24;
constexpr qreal kPlaceholderSize = 20;
constexpr qreal kCrossSize = 12;

}  // namespace

ConfiguratorListRow::ConfiguratorListRow(const std::string& placeholder, const QString& name,
                                         std::function<void()> onRemove, QWidget* parent)
    : QWidget(parent),
      icon_(new GrayIconView(kIconSide, placeholder, kPlaceholderSize, this)),
      name_(themedLabel(name, Theme::fontRegular14(), this)),
      remove_(new HoverableIconButton("xmark", std::move(onRemove), Theme::black(), kCrossSize,
                                      false, std::nullopt, this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, kPaddingV, 0, kPaddingV);
    row->setSpacing(kSpacing);
    row->addWidget(icon_, 0, Qt::AlignVCenter);
    row->addWidget(name_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(remove_, 0, Qt::AlignVCenter);
}

QString ConfiguratorListRow::name() const {
    return name_->text();
}

void ConfiguratorListRow::setName(const QString& name) {
    name_->setText(name);
}

void ConfiguratorListRow::showApplicationIcon(InstalledAppsService& apps, const std::string& id,
                                              const std::optional<QImage>& icon) {
    if (icon) {
        icon_->setImage(icon);
    }
    iconArrival_ =
        apps.whenIconArrives(id, [this](const QImage& arrived) { icon_->setImage(arrived); });
}

}  // namespace olvane::ui
