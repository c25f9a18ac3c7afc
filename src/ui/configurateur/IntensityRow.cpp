#include "ui/configurateur/IntensityRow.h"

#include <QHBoxLayout>

#include "ui/foundation/ElidedLabel.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kSpacing = 12;
constexpr int kPaddingH = 16;
constexpr int kPaddingV = 8;
constexpr int kIconSide = 24;
constexpr qreal kPlaceholderSize = 20;

QString levelLabel(const IntensityLevel& level) {
    const auto text = label(level);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<IntensityLevel> levels() {
    const auto all = allCases<IntensityLevel>();
    return {all.begin(), all.end()};
}

}  // namespace

IntensityRow::IntensityRow(const ContrepoidsTargetDraft& draft,
                           std::function<void(IntensityLevel)> onIntensityChange,
                           FaviconService& favicons, InstalledAppsService& apps, QWidget* parent)
    : QWidget(parent),
      draft_(draft),
      onIntensityChange_(std::move(onIntensityChange)),
      favicons_(favicons),
      icon_(new GrayIconView(kIconSide,
                             draft.targetType == FrictionTargetType::app ? "app.fill" : "globe",
                             kPlaceholderSize, this)),
      name_(new ElidedLabel(QString::fromStdString(draft.targetDisplayName), Theme::fontRegular14(),
                            this)),
      picker_(new Picker(
          levels(), levelLabel, draft.intensityLevel,
          [this](const IntensityLevel& level) {
              if (onIntensityChange_) {
                  onIntensityChange_(level);
              }
              picker_->setSelected(draft_.intensityLevel);
          },
          this)) {
    picker_->setFixedWidth(kPickerWidth);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPaddingH, kPaddingV, kPaddingH, kPaddingV);
    row->setSpacing(kSpacing);
    row->addWidget(icon_, 0, Qt::AlignVCenter);
    row->addWidget(name_, 1, Qt::AlignVCenter);
    row->addWidget(picker_, 0, Qt::AlignVCenter);

    if (draft_.targetType == FrictionTargetType::app) {
        icon_->setImage(apps.appInfo(draft_.targetIdentifier).icon);
        iconUpdates_ = apps.whenIconArrives(draft_.targetIdentifier,
                                            [this](const QImage& icon) { icon_->setImage(icon); });
    } else {
        // Asked again whenever icons arrive: a download started by the first ask lands here.
        showSiteIcon();
        faviconUpdates_ = favicons_.observeUpdates([this] { showSiteIcon(); });
    }
}

void IntensityRow::setDraft(const ContrepoidsTargetDraft& draft) {
    draft_ = draft;
    name_->setText(QString::fromStdString(draft_.targetDisplayName));
    picker_->setSelected(draft_.intensityLevel);
}

QString IntensityRow::name() const {
    return name_->text();
}

void IntensityRow::showSiteIcon() {
    if (!icon_->hasImage()) {
        icon_->setImage(favicons_.cachedFavicon(draft_.targetIdentifier));
    }
}

}  // namespace olvane::ui
