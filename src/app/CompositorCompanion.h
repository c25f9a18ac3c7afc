#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Paths.h"
#include "platform/PointerLocation.h"
#include "platform/ProcessWatcher.h"
#include "platform/RunLoop.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"
#include "platform/linux/AsyncBus.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "platform/linux/compositor/CompanionPointer.h"
#include "platform/linux/compositor/CompanionStacking.h"
#include "platform/linux/compositor/CompanionWindowServer.h"
#include "platform/linux/compositor/CompanionWindows.h"
#include "platform/linux/compositor/CompanionWorkspace.h"
#include "platform/linux/compositor/GnomeShellExtension.h"
#include "platform/linux/compositor/KWinCompanionScript.h"

namespace olvane {

// The windows of a Wayland session, which only the compositor sees: OlvaneMac's end of the
// companion inside GNOME Shell (an extension the install puts in place) or KWin (a script loaded
// at run time). Until the companion reports, and without one, the X11 view (Xwayland's
// programs only) serves; the log says which, and the user is told once what keeps GNOME's
// extension from running.
class CompositorCompanion {
  public:
    static constexpr const char* kGnomeExtensionUuid = OLVANE_GNOME_EXTENSION_UUID;

    struct Fallbacks {
        platform::Workspace* workspace = nullptr;
        platform::WindowServer* windowServer = nullptr;
        platform::PointerLocation* pointer = nullptr;
    };

    // Null outside a Wayland session, without a session bus, or when another program holds
    // OlvaneMac's name there.
    static std::unique_ptr<CompositorCompanion> create(platform::RunLoop& loop,
                                                       platform::ProcessWatcher& processes,
                                                       const platform::Paths& paths,
                                                       Fallbacks fallbacks);
    ~CompositorCompanion();
    CompositorCompanion(const CompositorCompanion&) = delete;
    CompositorCompanion& operator=(const CompositorCompanion&) = delete;

    platform::Workspace& workspace() { return *workspace_; }
    platform::WindowServer& windowServer() { return *windowServer_; }
    platform::PointerLocation& pointer() { return *pointer_; }
    platform::os::CompanionLink& link() { return *link_; }
    platform::os::CompanionWindows& windows() { return *windows_; }
    // Keeps the fogs over native windows under KWin.
    platform::CompositorStacking& stacking() { return *stacking_; }
    // How the session's windows are seen, for the start-up's log.
    std::string description() const;

  private:
    CompositorCompanion(platform::RunLoop& loop, const platform::Paths& paths,
                        std::unique_ptr<platform::os::AsyncBus> bus,
                        std::unique_ptr<platform::os::CompanionLink> link);
    void build(platform::ProcessWatcher& processes, Fallbacks fallbacks);
    void compositorAppeared(const std::string& name);
    void companionChanged();
    void checkGnomeExtension();
    void tellGnomeExtensionState(const platform::os::GnomeExtensionState& state);

    platform::RunLoop& loop_;
    const platform::Paths& paths_;
    std::unique_ptr<platform::os::AsyncBus> bus_;
    std::unique_ptr<platform::os::CompanionLink> link_;
    std::unique_ptr<platform::os::CompanionWindows> windows_;
    std::unique_ptr<platform::os::CompanionWorkspace> workspace_;
    std::unique_ptr<platform::os::CompanionWindowServer> windowServer_;
    std::unique_ptr<platform::os::CompanionPointer> pointer_;
    std::unique_ptr<platform::os::CompanionStacking> stacking_;
    std::unique_ptr<platform::os::KWinCompanionScript> kwinScript_;
    bool gnomeShell_ = false;
    bool toldGnomeState_ = false;
    std::optional<bool> wasAttached_;
    platform::Handle companionWatch_;
    platform::Handle problems_;
    platform::Handle kwinFailures_;
    platform::Handle compositorChecks_[2];
    platform::Handle gnomeCheckLater_;
    platform::Handle gnomeQuestion_;
};

}  // namespace olvane
