#pragma once

// Kept in the model library beside BrowserType, which the host and the Safari extension need.
namespace olvane {

// The state of our extension in one browser; compared by case.
enum class ExtensionStatus {
    connected,          // the extension is talking to us
    notDetected,        // the browser runs with a window, but no sign of the extension
    browserNotRunning,  // not running, or running without a qualifying window
    connecting,         // running with a window; the extension is given time to appear
};

}  // namespace olvane
