#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "platform/FileWatcher.h"
#include "platform/GrayscaleSwitch.h"
#include "platform/Paths.h"
#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/linux/KWinVersion.h"
#include "platform/linux/SavedUserValues.h"
#include "platform/linux/SessionBus.h"

namespace olvane::platform::os {

// The desktop's grayscale on KDE Plasma: the monochrome mode of KWin's colour-blindness
// correction effect, set in kwinrc and applied by loading the effect for this session only
// (never through [Plugins], which would bring it back at every login). Before the first switch
// on, the user's own lines of the effect's group and whether the effect was loaded are saved,
// whatever they are; switching off puts them back, but for a line the user changed while the
// screen was grey. Only those saved values make the effect ours, and a switch on while it is
// ours puts back only the monochrome mode and the loaded effect. Every other line of kwinrc stays
// as it was: each edit is made under KDE's own lock on the file, over what it holds then. While
// another program holds that lock, a switch off unloads the effect it loaded at once (over the
// bus, with no lock) and leaves the user's lines saved until the lock is let go.
class KWinColourFilterSwitch final : public GrayscaleSwitch {
  public:
    // Before it, mode 3 of the effect is a red-weak tint rather than monochrome.
    static constexpr KWinVersion kFirstWithMonochrome{6, 6, 0};

    // The version the running KWin states; nullopt when no KWin answers on the bus.
    static std::optional<KWinVersion> runningVersion(SessionBus& bus);

    // After a change of kwinrc, KWin is given this long to apply it before the effect is asked.
    static constexpr double kSettleSeconds = 1.0;
    // How long a save of KDE's own may hold kwinrc before an edit of ours gives up.
    static constexpr std::chrono::milliseconds kLockWait{1000};
    // How often a switch off that found kwinrc locked looks whether the lock was let go.
    static constexpr double kLockRetrySeconds = 1.0;

    // kwinrc in the configuration folder; the user's own values wait in the data folder while
    // the screen is grey. With a loop and a file watcher, kwinrc is watched while the screen is
    // grey, so that the effect switched off from KDE's settings is seen, and the saved values
    // are written again as soon as a removed data folder is made again.
    explicit KWinColourFilterSwitch(const Paths& paths, RunLoop* loop = nullptr,
                                    FileWatcher* files = nullptr,
                                    std::chrono::milliseconds lockWait = kLockWait);

    // Connects to the session bus; true when KWin answers with a version that has the mode.
    bool load() override;
    bool hasSetEnabled() override { return bus_ != nullptr; }
    std::string loadFailureText() const override {
        return "Impossible de charger l’effet de correction des couleurs de KWin";
    }
    std::string lookUpFailureText() const override {
        return "Connexion de KWin sur le bus de session non trouvée";
    }
    Status setEnabled(bool on) override;
    Handle observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) override;
    bool keepsUserValues() const override { return saved_.exist(); }
    // Needs the loop; looks at the lock every kLockRetrySeconds.
    Handle whenUserValuesMayBeGivenBack(std::function<void()> retry) override;
    // For the watchdog: the saved values are known from now on even if their folder goes.
    void followSavedValues() { saved_.follow(); }

  private:
    // Whether the effect is put back as the user had it, or left as someone else just set it.
    enum class Effect { AsSaved, AsItIs };

    Status switchOn();
    // Whether the effect is ours: saved values say so, but unreadable ones only over our grey.
    std::optional<bool> effectIsOurs(const std::optional<Json>& saved, Status& failure);
    Status switchOff();
    Status saveUserValues();
    // Puts the saved lines back where kwinrc still holds ours.
    Status restore(const Json& values, Effect effect);
    // Edits kwinrc as it is on disk under KDE's lock, writes it when the edit changed it (then
    // `*changed` is set) and tells KWin it changed.
    Status editKwinrc(const std::filesystem::path& kwinrc,
                      const std::function<std::string(std::string)>& edit, bool removeWhenEmpty,
                      bool* changed = nullptr);
    std::optional<bool> effectLoaded(ComposedText* error);
    // The configuration's text and whether the effect is loaded now; nullopt with `failure` set
    // when either cannot be known.
    struct Current {
        std::string kwinrcText;
        bool effectLoaded;
    };
    std::optional<Current> current(Status& failure);
    void watchKwinrc();
    void checkStillGrey();

    std::filesystem::path kwinrc_;
    SavedUserValues saved_;
    std::unique_ptr<SessionBus> bus_;
    RunLoop* loop_;
    FileWatcher* files_;
    std::chrono::milliseconds lockWait_;
    Handle kwinrcWatch_;
    Handle settle_;
    // The file whose lock another program held at the last edit of kwinrc, which gave up.
    std::optional<std::filesystem::path> lockedOut_;
    Signal<> switchedOffElsewhere_;
};

}  // namespace olvane::platform::os
