#pragma once

#include "app/ServiceControls.h"
#include "ui/configurateur/MonitoringControl.h"

namespace olvane::ui {

// The wizard's monitoring control. The friction monitoring service is not part of the program
// yet: until it is, this goes through the start and stop hooks of the services, reports that
// nothing runs and has nothing to re-evaluate. When the service lands, these four calls go to
// it and nothing else changes.
class AppMonitoringControl final : public MonitoringControl {
  public:
    explicit AppMonitoringControl(ServiceControls& services) : services_(services) {}

    bool isMonitoring() const override { return false; }
    void startMonitoring() override { services_.startAppMonitoring(); }
    void stopMonitoring() override { services_.stopAppMonitoring(); }
    void reevaluateCurrentApp() override {}

  private:
    ServiceControls& services_;
};

}  // namespace olvane::ui
