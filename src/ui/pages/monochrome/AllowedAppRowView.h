#pragma once

#include <optional>
#include <string>

#include "platform/Handle.h"
#include "ui/pages/monochrome/AllowedAppRowData.h"
#include "ui/pages/monochrome/ExceptionRowView.h"

namespace olvane::ui {

class InstalledAppsService;

// An allowed application: "app.fill" and the name of the row data until the row, once on
// screen, has looked the application up itself; then its own icon and name.
class AllowedAppRowView final : public ExceptionRowView {
    Q_OBJECT

  public:
    AllowedAppRowView(const AllowedAppRowData& data, InstalledAppsService& apps,
                      std::function<void(const std::string&)> onDelete, QWidget* parent = nullptr);

    const AllowedAppRowData& data() const { return data_; }
    // A new datum for the same application: the looked-up icon and name stay.
    void setData(const AllowedAppRowData& data);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void lookUp();
    void showText();

    AllowedAppRowData data_;
    InstalledAppsService& apps_;
    std::optional<std::string> cachedName_;
    platform::Handle iconArrival_;
};

}  // namespace olvane::ui
