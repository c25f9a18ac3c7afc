#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "platform/ComposedText.h"
#include "platform/Handle.h"
#include "platform/Signal.h"
#include "platform/linux/AsyncBus.h"

namespace olvane::platform::os {

// The companion as a KWin script, loaded over KWin's scripting interface whenever KWin is on
// the bus (now, and again after KWin restarts), and unloaded when this goes: nothing to install
// for KDE. The script reports only to this connection, whose unique name is written into it.
class KWinCompanionScript {
  public:
    static constexpr const char* kScriptName = "olvanemac-companion";

    // `file`: where the script is written for KWin to read (a private folder of ours).
    KWinCompanionScript(AsyncBus& bus, std::filesystem::path file);
    ~KWinCompanionScript();
    KWinCompanionScript(const KWinCompanionScript&) = delete;
    KWinCompanionScript& operator=(const KWinCompanionScript&) = delete;

    // Loads the script afresh while KWin is there: one that stopped reporting (it gave OlvaneMac
    // up while OlvaneMac did not answer, or someone unloaded it) starts again.
    void reload();

    // Each load that failed, with why.
    Handle observeFailure(std::function<void(const ComposedText&)> observer) {
        return failed_.connect(std::move(observer));
    }

  private:
    void kwinChanged(const std::string& owner);
    void load();
    void loadAfresh();
    void start();
    void fail(const ComposedText& why);

    AsyncBus& bus_;
    std::filesystem::path file_;
    bool kwinPresent_ = false;
    Signal<ComposedText> failed_;
    Handle ownerWatch_;
    Handle ownerCheck_;
    Handle step_;
};

// The script's text, naming `owner` as the one connection it reports to.
std::string kwinCompanionScriptText(const std::string& owner);

}  // namespace olvane::platform::os
