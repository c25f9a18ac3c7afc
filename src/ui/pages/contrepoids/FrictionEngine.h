#pragma once

#include "app/MonitoringControl.h"
#include "model/TurtleIntensity.h"

namespace olvane::ui {

// What the Contrepoids page drives of the friction effects: the monitoring that applies the
// stored targets to the application in front, and the entry points of the five-second tests.
class FrictionEngine : public MonitoringControl {
  public:
    // Drops the fog of the target monitored now, if any.
    virtual void deactivateEffectForClosedApp() = 0;
    // The fog over the application's own main window.
    virtual void testFogOnOwnWindow() = 0;
    // Removes the fog, wherever it is shown.
    virtual void deactivateAllEffects() = 0;
    // True when the turtle is on afterwards. In test mode the monitoring leaves it on while
    // this application is in front.
    virtual bool activateTurtle(TurtleIntensity intensity, bool testMode) = 0;
    virtual void deactivateTurtle() = 0;
};

}  // namespace olvane::ui
