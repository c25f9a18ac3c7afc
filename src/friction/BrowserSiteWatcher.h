#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/FileWatcher.h"
#include "platform/Handle.h"
#include "platform/NotificationCenter.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"

namespace olvane {

// Follows one browser's site file, in which the browser side records the site the user is on
// and when. Each fresh write tells the extension-status service that the browser's extension
// is alive, and a new site becomes `currentDomain` and is handed to `onDomainChanged`.
class BrowserSiteWatcher {
  public:
    struct Collaborators {
        platform::RunLoop& loop;
        platform::FileWatcher& files;
        platform::Workspace& workspace;
        platform::NotificationCenter& notifications;
    };

    // Posted for every accepted file, with {"browserBundleID": <the browser's ID>}.
    static constexpr const char* kMessageReceivedNotification = "browserExtensionMessageReceived";
    static constexpr const char* kBrowserBundleIDKey = "browserBundleID";
    // Events closer together than this make one read, this long after the last.
    static constexpr double kDebounceSeconds = 0.1;

    // `folder` holds the site file.
    BrowserSiteWatcher(Collaborators collaborators, std::string browserName,
                       std::string browserBundleID, std::string fileName,
                       std::filesystem::path folder);
    BrowserSiteWatcher(const BrowserSiteWatcher&) = delete;
    BrowserSiteWatcher& operator=(const BrowserSiteWatcher&) = delete;

    // Creates the file as "{}" when missing, watches it and reads it once. Nothing when already
    // started; a file that cannot be watched leaves it unstarted for a later try.
    void start();
    // Ends the watch and forgets the site, not the last accepted time.
    void stop();
    // Forgets the site and the last accepted time (the browser was relaunched or quit). The
    // watch stays; the file is not read again and the callback is not called.
    void resetState();

    // The site last reported; absent when none is known.
    const std::optional<std::string>& currentDomain() const { return currentDomain_; }
    // Called with the new site whenever a file changes it.
    std::function<void(const std::optional<std::string>&)> onDomainChanged;

    const std::string& browserName() const { return browserName_; }
    const std::string& browserBundleID() const { return browserBundleID_; }
    std::filesystem::path file() const { return folder_ / fileName_; }
    bool isStarted() const { return static_cast<bool>(fileWatcher_); }
    double lastTimestamp() const { return lastTimestamp_; }

    void scheduleProcessing();
    void processFile();

  private:
    // Whether the file's time stamp is one to act on; logs why not.
    bool accepts(double timestamp);

    platform::RunLoop& loop_;
    platform::FileWatcher& files_;
    platform::Workspace& workspace_;
    platform::NotificationCenter& notifications_;
    std::string browserName_;
    std::string browserBundleID_;
    std::string fileName_;
    std::filesystem::path folder_;
    std::optional<std::string> currentDomain_;
    platform::Handle fileWatcher_;
    double lastTimestamp_ = 0;
    platform::Handle debounceWorkItem_;
};

}  // namespace olvane
