#pragma once

#include <filesystem>
#include <functional>

#include "app/ApplicationBundle.h"
#include "friction/DelayPanelState.h"
#include "friction/FogEffectState.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Clock.h"
#include "platform/ColorRemapDevice.h"
#include "platform/DetachedProcesses.h"
#include "platform/EventTap.h"
#include "platform/FileWatcher.h"
#include "platform/FrameClock.h"
#include "platform/GrayscaleSwitch.h"
#include "platform/KeyEventSource.h"
#include "platform/KeyValueStore.h"
#include "platform/LoginItems.h"
#include "platform/OverlayWindow.h"
#include "platform/Paths.h"
#include "platform/PointerLocation.h"
#include "platform/RunLoop.h"
#include "platform/SafariExtensionManager.h"
#include "platform/ServiceManager.h"
#include "platform/SystemEvents.h"
#include "platform/Trash.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"

namespace olvane {

// Everything the application's services need of the platform, real or simulated.
struct PlatformBackends {
    platform::RunLoop& loop;
    const platform::Clock& clock;
    const platform::Paths& paths;
    platform::FileWatcher& files;
    // The user defaults.
    platform::KeyValueStore& defaults;
    platform::ColorRemapDevice& display;
    platform::GrayscaleSwitch& grayscaleSwitch;
    platform::AccessibilityTrust& accessibilityTrust;
    platform::KeyEventSource& keys;
    platform::Workspace& workspace;
    platform::WindowServer& windowServer;
    // The friction effects: the turtle's pointer input, the fog's windows and its frames, the
    // delay's waiting panels.
    platform::EventTap& eventTap;
    // Whether the turtle may use `eventTap`.
    platform::AccessibilityTrust& eventTapTrust;
    platform::OverlayWindowFactory<FogEffectState>& fogWindows;
    // Where the pointer is for the fog's trail, and when it moves.
    platform::PointerLocation& pointer;
    platform::FrameClock& frameClock;
    platform::OverlayWindowFactory<DelayPanelState>& delayPanels;
    platform::SystemEvents& systemEvents;
    platform::ServiceManager& userServices;
    // Where no user service manager runs.
    platform::DetachedProcesses& detachedProcesses;
    platform::LoginItems& loginItems;
    platform::Trash& trash;
    // Safari's account of its extensions (there is no Safari on Linux).
    platform::SafariExtensionManager& safariExtensions;
    std::filesystem::path watchdogExecutable;
    // The installed olvanemac-host, which the browsers' manifests name.
    std::filesystem::path hostExecutable;
    // What the uninstall sends to the trash.
    ApplicationBundle bundle;
    // Logs which implementation serves each seam (called by the start-up, after its banner).
    std::function<void()> logChoices = [] {};
};

}  // namespace olvane
