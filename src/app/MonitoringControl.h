#pragma once

namespace olvane {

// The friction monitoring, which applies the stored targets' effects to the front application
// and the visited site.
class MonitoringControl {
  public:
    virtual ~MonitoringControl() = default;

    virtual bool isMonitoring() const = 0;
    // Nothing when it already runs.
    virtual void startMonitoring() = 0;
    // Nothing when it does not run.
    virtual void stopMonitoring() = 0;
    // Applies the stored targets to the application in front again.
    virtual void reevaluateCurrentApp() = 0;
};

}  // namespace olvane
