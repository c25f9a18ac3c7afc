#pragma once

#include <QWidget>
#include <functional>

#include "platform/Handle.h"
#include "ui/configurateur/ContrepoidsTargetDraft.h"
#include "ui/foundation/OlvaneSegmentedPicker.h"

namespace olvane::ui {

class ElidedLabel;
class FaviconService;
class GrayIconView;
class InstalledAppsService;

// One Contrepoids target and its level: icon, name, and the three levels side by side. A choice
// only calls back; the row shows the level of the draft the screen passes back.
class IntensityRow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kPickerWidth = 280;
    using Picker = OlvaneSegmentedPicker<IntensityLevel>;

    IntensityRow(const ContrepoidsTargetDraft& draft,
                 std::function<void(IntensityLevel)> onIntensityChange, FaviconService& favicons,
                 InstalledAppsService& apps, QWidget* parent = nullptr);

    const ContrepoidsTargetDraft& draft() const { return draft_; }
    void setDraft(const ContrepoidsTargetDraft& draft);

    Picker* picker() const { return picker_; }
    GrayIconView* icon() const { return icon_; }
    QString name() const;

  private:
    void showSiteIcon();

    ContrepoidsTargetDraft draft_;
    std::function<void(IntensityLevel)> onIntensityChange_;
    FaviconService& favicons_;
    GrayIconView* icon_;
    ElidedLabel* name_;
    Picker* picker_;
    platform::Handle faviconUpdates_;
    platform::Handle iconUpdates_;
};

}  // namespace olvane::ui
