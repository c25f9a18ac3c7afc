#pragma once

#include <memory>

#include "platform/FileWatcher.h"
#include "platform/GrayscaleSwitch.h"
#include "platform/Handle.h"
#include "platform/Json.h"
#include "platform/Paths.h"
#include "platform/Signal.h"
#include "platform/linux/SavedUserValues.h"

namespace olvane::platform::os {

// The desktop's grayscale on GNOME: the Shell's accessibility zoom over the whole screen at
// factor 1 with no colour saturation, through GSettings. Before the first switch on, the user's
// own values of the keys it changes are saved, whatever they are; switching off puts them back,
// so a user of the zoom keeps their settings, and counts only once they read back so. Only those
// saved values make the zoom ours: without them it is the user's, grey or not. A key the user
// changed while the screen was grey keeps their change, and a switch on while the zoom is ours
// puts back only what makes it grey. GSettings comes from a module opened at the first call
// (GSettingsKeys).
class GnomeZoomSwitch final : public GrayscaleSwitch {
  public:
    // Whether this process's main context is run by someone else (Qt's event loop does) or must
    // be given a turn before each use, so that GSettings sees the changes of other programs.
    enum class MainContext { RunElsewhere, DispatchBeforeUse };

    // Whether the zoom's schemas and keys are installed.
    static bool schemasInstalled();

    // The user's own values wait in the data folder while the screen is grey; with a file
    // watcher they are written again as soon as a removed data folder is made again.
    GnomeZoomSwitch(const Paths& paths, MainContext context, FileWatcher* files = nullptr);
    ~GnomeZoomSwitch() override;
    GnomeZoomSwitch(const GnomeZoomSwitch&) = delete;
    GnomeZoomSwitch& operator=(const GnomeZoomSwitch&) = delete;

    bool load() override { return schemasInstalled(); }
    bool hasSetEnabled() override { return schemasInstalled(); }
    std::string loadFailureText() const override {
        return "Impossible de charger les schémas du zoom de GNOME";
    }
    std::string lookUpFailureText() const override { return "Clés du zoom de GNOME non trouvées"; }
    Status setEnabled(bool on) override;
    // The Shell's menu or Super+Alt+8 switching the zoom off while it is ours; seen through the
    // main context, once a switch on has happened.
    Handle observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) override;
    bool keepsUserValues() const override { return saved_.exist(); }
    // For the watchdog: the saved values are known from now on even if their folder goes.
    void followSavedValues() { saved_.follow(); }

  private:
    Status switchOn();
    Status switchOff();
    // Puts `values` back into the keys that still hold ours, and lets them go once every key
    // reads back as given.
    Status giveBack(const Json& values);
    void enabledChanged();

    SavedUserValues saved_;
    MainContext context_;
    // Our own writes are no one else's.
    bool writing_ = false;
    Signal<> switchedOffElsewhere_;
    // Last, so that it goes first.
    Handle enabledWatch_;
};

}  // namespace olvane::platform::os
