#pragma once

#include <string>

#include "ui/configurateur/ConfiguratorListRow.h"

namespace olvane::ui {

class InstalledAppsService;

// An application that keeps its colours: its name and icon, looked up once when the row is
// made; its identifier and the symbol while no installed application answers to it.
class MonochromeAppRow final : public ConfiguratorListRow {
    Q_OBJECT

  public:
    MonochromeAppRow(const std::string& bundleID, std::function<void()> onRemove,
                     InstalledAppsService& apps, QWidget* parent = nullptr);

    const std::string& bundleID() const { return bundleID_; }

  private:
    std::string bundleID_;
};

}  // namespace olvane::ui
