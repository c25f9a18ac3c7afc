#pragma once

#include "friction/AppMonitoringService.h"
#include "friction/FrictionEffectsService.h"
#include "friction/TurtleEffectService.h"
#include "ui/pages/contrepoids/FrictionEngine.h"

namespace olvane::ui {

// The page's friction engine: the program's own monitoring, fog and turtle services.
class ServicesFrictionEngine final : public FrictionEngine {
  public:
    ServicesFrictionEngine(AppMonitoringService& monitoring, FrictionEffectsService& effects,
                           TurtleEffectService& turtle)
        : monitoring_(monitoring), effects_(effects), turtle_(turtle) {}

    bool isMonitoring() const override { return monitoring_.isMonitoring(); }
    void startMonitoring() override { monitoring_.startMonitoring(); }
    void stopMonitoring() override { monitoring_.stopMonitoring(); }
    void reevaluateCurrentApp() override { monitoring_.reevaluateCurrentApp(); }
    void deactivateEffectForClosedApp() override { monitoring_.deactivateEffectForClosedApp(); }
    void testFogOnOwnWindow() override { effects_.testFogOnOwnWindow(); }
    void deactivateAllEffects() override { effects_.deactivateAllEffects(); }
    bool activateTurtle(TurtleIntensity intensity, bool testMode) override {
        return turtle_.activate(intensity, testMode);
    }
    void deactivateTurtle() override { turtle_.deactivate(); }

  private:
    AppMonitoringService& monitoring_;
    FrictionEffectsService& effects_;
    TurtleEffectService& turtle_;
};

}  // namespace olvane::ui
