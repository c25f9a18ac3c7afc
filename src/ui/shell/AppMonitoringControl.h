#pragma once

#include "app/MonitoringControl.h"
#include "friction/AppMonitoringService.h"

namespace olvane::ui {

// The wizard's monitoring control: the friction monitoring service itself.
class AppMonitoringControl final : public MonitoringControl {
  public:
    explicit AppMonitoringControl(AppMonitoringService& service) : service_(service) {}

    bool isMonitoring() const override { return service_.isMonitoring(); }
    void startMonitoring() override { service_.startMonitoring(); }
    void stopMonitoring() override { service_.stopMonitoring(); }
    void reevaluateCurrentApp() override { service_.reevaluateCurrentApp(); }

  private:
    AppMonitoringService& service_;
};

}  // namespace olvane::ui
