#include "platform/linux/compositor/KWinCompanionScript.h"

#include <systemd/sd-bus.h>

#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/linux/compositor/kwin_companion_script.h"

namespace olvane::platform::os {
namespace {

constexpr const char* kKWin = "org.kde.KWin";

BusMethod scripting(const char* member) {
    return {kKWin, "/Scripting", "org.kde.kwin.Scripting", member};
}

}  // namespace

std::string kwinCompanionScriptText(const std::string& owner) {
    std::string text = kKWinCompanionScript;
    const std::string placeholder = "@OLVANE_OWNER@";
    if (const auto at = text.find(placeholder); at != std::string::npos) {
        text.replace(at, placeholder.size(), owner);
    }
    return text;
}

KWinCompanionScript::KWinCompanionScript(AsyncBus& bus, std::filesystem::path file)
    : bus_(bus), file_(std::move(file)) {
    ownerWatch_ = bus_.watchOwner(kKWin, [this](const std::string& owner) { kwinChanged(owner); });
    const BusMethod getOwner{"org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus", "GetNameOwner"};
    ownerCheck_ = bus_.call(
        getOwner,
        [this](sd_bus_message* reply, const ComposedText&) {
            const char* owner = nullptr;
            if (reply && sd_bus_message_read(reply, "s", &owner) >= 0 && owner) {
                kwinChanged(owner);
            }
        },
        "s", kKWin);
}

KWinCompanionScript::~KWinCompanionScript() {
    if (kwinPresent_ && bus_.connected()) {
        // Not waited for: the script also stops once this connection is gone.
        auto unload = bus_.call(
            scripting("unloadScript"), [](sd_bus_message*, const ComposedText&) {}, "s",
            kScriptName);
        bus_.flush();
    }
}

void KWinCompanionScript::reload() {
    if (kwinPresent_) {
        load();
    }
}

void KWinCompanionScript::kwinChanged(const std::string& owner) {
    kwinPresent_ = !owner.empty();
    step_.cancel();
    if (kwinPresent_) {
        load();
    }
}

// A script of that name left by an earlier run (killed before it could unload it) goes first.
void KWinCompanionScript::load() {
    step_ = bus_.call(
        scripting("isScriptLoaded"),
        [this](sd_bus_message* reply, const ComposedText& error) {
            int loaded = 0;
            if (!reply || sd_bus_message_read(reply, "b", &loaded) < 0) {
                fail("KWin ne dit pas si son script est chargé : " + error);
                return;
            }
            if (!loaded) {
                loadAfresh();
                return;
            }
            step_ = bus_.call(
                scripting("unloadScript"),
                [this](sd_bus_message*, const ComposedText&) { loadAfresh(); }, "s", kScriptName);
        },
        "s", kScriptName);
}

void KWinCompanionScript::loadAfresh() {
    const auto folder = file_.parent_path();
    if (auto made = ensurePrivateFolder(folder); !made.ok()) {
        fail(made.description());
        return;
    }
    if (auto written = writeFileAtomically(file_, kwinCompanionScriptText(bus_.uniqueName()));
        !written.ok()) {
        fail(written.description());
        return;
    }
    const auto path = file_.string();
    step_ = bus_.call(
        scripting("loadScript"),
        [this](sd_bus_message* reply, const ComposedText& error) {
            int id = -1;
            if (!reply || sd_bus_message_read(reply, "i", &id) < 0 || id < 0) {
                fail("KWin refuse de charger le script : " + error);
                return;
            }
            start();
        },
        "ss", path.c_str(), kScriptName);
}

// The id KWin gives a new script may name an older one's object, since KWin numbers its scripts
// by their count: start() runs every script loaded and not running yet, ours.
void KWinCompanionScript::start() {
    step_ = bus_.call(
        scripting("start"),
        [this](sd_bus_message* reply, const ComposedText& error) {
            if (!reply) {
                fail("KWin ne lance pas le script : " + error);
            }
        },
        "");
}

void KWinCompanionScript::fail(const ComposedText& why) {
    failed_.emit(why);
}

}  // namespace olvane::platform::os
