#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/ApplicationBundle.h"
#include "app/UninstallStep.h"
#include "platform/Clock.h"
#include "platform/Handle.h"
#include "platform/Json.h"
#include "platform/KeyValueStore.h"
#include "platform/Observable.h"
#include "platform/Paths.h"
#include "platform/RunLoop.h"
#include "platform/Trash.h"

namespace olvane {

class CrashRecoveryService;
class RulesFileService;
class ServiceControls;

// Removes the application completely: effects off, watchers stopped, a neutral rule set for the
// browser side, browser connections, login item and watchdog agent gone, folders and settings
// deleted, the application itself in the trash, then the program ends. The steps run strictly
// in order on the run loop with a short pause after each, so that the progress sheet can show
// the current one. Every step swallows its own failures: once started, the sequence always runs
// to the end and the program always ends; only the watchdog's step waits, while the desktop's
// settings of the user wait for a file another program holds.
class UninstallService {
  public:
    struct Collaborators {
        platform::RunLoop& loop;
        const platform::Clock& clock;
        const platform::Paths& paths;
        const platform::Observable<bool>& isGrayscaleFilterEnabled;
        ServiceControls& services;
        CrashRecoveryService& crashRecovery;
        const RulesFileService& rulesFile;
        platform::KeyValueStore& defaults;
        platform::Trash& trash;
        ApplicationBundle bundle;
        // Asks the program to end; its shutdown finds the uninstall flag set.
        std::function<void()> terminate;
    };

    static constexpr double kPauseSeconds = 0.15;
    // How often the uninstall looks whether the desktop took the user's values back.
    static constexpr double kDesktopValuesCheckSeconds = 1.0;
    // How long the program stays after saying that its installation could not be taken away.
    static constexpr double kKeptInPlaceNoticeSeconds = 8.0;

    explicit UninstallService(Collaborators collaborators);
    UninstallService(const UninstallService&) = delete;
    UninstallService& operator=(const UninstallService&) = delete;

    // The label of the step in progress, set before the step starts.
    platform::Observable<std::string> currentStepLabel{
        std::string(uninstallStepLabel(UninstallStep::neutralizeEffects))};
    // Set when the run starts, never cleared: the run ends with the program.
    platform::Observable<bool> isRunning{false};

    // The whole sequence, the first step at once and the others after their pauses. The caller
    // has set AppState's uninstall flag first. A second call is ignored.
    void uninstall();
    // One step with its log lines, then the pause before the next.
    void runStep(UninstallStep step);

    // Every catalogue rule off, no allowed site or application, no website target.
    static Json neutralRules();

  private:
    void perform(UninstallStep step);
    void neutralizeEffects();
    void stopWatchers();
    void pushNeutralRules();
    void sendOffCommands();
    void disableLoginItem();
    void clearWatchdogPID();
    void deleteDataDirectories();
    void clearUserDefaults();
    void recycleAndTerminate();
    // True when something had to stay where it is; the progress screen then says so.
    bool recycleBundle();

    Collaborators c_;
    bool waitLogged_ = false;
    platform::Handle pause_;
    platform::Handle terminateRequest_;
};

}  // namespace olvane
