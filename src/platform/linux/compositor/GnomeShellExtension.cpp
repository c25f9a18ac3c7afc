#include "platform/linux/compositor/GnomeShellExtension.h"

#include <systemd/sd-bus.h>

#include <memory>

#include "platform/FileIO.h"

namespace olvane::platform::os {
namespace {

constexpr const char* kShell = "org.gnome.Shell";
constexpr const char* kShellPath = "/org/gnome/Shell";

// gnome-shell's ExtensionState.
constexpr double kEnabled = 1;
constexpr double kError = 3;
constexpr double kOutOfDate = 4;

struct ExtensionInfo {
    bool known = false;
    double state = 0;
    std::string error;
};

// The members "state" and "error" of GetExtensionInfo's a{sv}; the dictionary is empty for an
// extension the Shell does not know.
bool readExtensionInfo(sd_bus_message* reply, ExtensionInfo& info) {
    if (sd_bus_message_enter_container(reply, 'a', "{sv}") < 0) {
        return false;
    }
    while (sd_bus_message_enter_container(reply, 'e', "sv") > 0) {
        const char* key = nullptr;
        if (sd_bus_message_read(reply, "s", &key) < 0) {
            return false;
        }
        info.known = true;
        const std::string name = key;
        const char* text = nullptr;
        bool read = false;
        if (name == "state") {
            read = sd_bus_message_read(reply, "v", "d", &info.state) >= 0;
        } else if (name == "error") {
            read = sd_bus_message_read(reply, "v", "s", &text) >= 0;
            info.error = read && text ? text : "";
        }
        if (!read && sd_bus_message_skip(reply, "v") < 0) {
            return false;
        }
        sd_bus_message_exit_container(reply);
    }
    return sd_bus_message_exit_container(reply) >= 0;
}

struct Question {
    GnomeExtensionState state;
    bool userExtensionsEnabled = true;
    ExtensionInfo info;
    int answersLeft = 3;
    std::function<void(const GnomeExtensionState&)> onState;
    std::vector<std::filesystem::path> folders;
    std::string uuid;
    Handle calls[3];

    void answered() {
        if (--answersLeft > 0) {
            return;
        }
        using Kind = GnomeExtensionState::Kind;
        if (state.kind == Kind::unknown) {
            onState(state);
            return;
        }
        if (!userExtensionsEnabled) {
            state.kind = Kind::userExtensionsOff;
        } else if (info.known && info.state == kEnabled) {
            state.kind = Kind::running;
        } else if (info.known && info.state == kOutOfDate) {
            state.kind = Kind::outOfDate;
        } else if (info.known && info.state == kError) {
            state.kind = Kind::failed;
            state.error = info.error;
        } else if (info.known) {
            state.kind = Kind::disabled;
        } else {
            state.kind = onDisk() ? Kind::installedSinceLogin : Kind::absent;
        }
        onState(state);
    }

    bool onDisk() const {
        for (const auto& folder : folders) {
            if (existsAtPath(folder / uuid / "metadata.json")) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace

Handle askGnomeExtensionState(AsyncBus& bus, const std::string& uuid,
                              std::vector<std::filesystem::path> extensionFolders,
                              std::function<void(const GnomeExtensionState&)> onState) {
    using Kind = GnomeExtensionState::Kind;
    auto question = std::make_shared<Question>();
    question->onState = std::move(onState);
    question->folders = std::move(extensionFolders);
    question->uuid = uuid;
    question->state.kind = Kind::absent;
    const auto unanswered = [question] { question->state.kind = Kind::unknown; };
    const BusMethod getProperty{kShell, kShellPath, "org.freedesktop.DBus.Properties", "Get"};
    Question* raw = question.get();
    raw->calls[0] = bus.call(
        getProperty,
        [question, unanswered](sd_bus_message* reply, const ComposedText&) {
            const char* version = nullptr;
            if (!reply || sd_bus_message_read(reply, "v", "s", &version) < 0) {
                unanswered();
            } else {
                question->state.shellVersion = version ? version : "";
            }
            question->answered();
        },
        "ss", "org.gnome.Shell", "ShellVersion");
    raw->calls[1] = bus.call(
        getProperty,
        [question, unanswered](sd_bus_message* reply, const ComposedText&) {
            int enabled = 1;
            if (!reply || sd_bus_message_read(reply, "v", "b", &enabled) < 0) {
                unanswered();
            }
            question->userExtensionsEnabled = enabled != 0;
            question->answered();
        },
        "ss", "org.gnome.Shell.Extensions", "UserExtensionsEnabled");
    raw->calls[2] = bus.call(
        {kShell, kShellPath, "org.gnome.Shell.Extensions", "GetExtensionInfo"},
        [question, unanswered](sd_bus_message* reply, const ComposedText&) {
            if (!reply || !readExtensionInfo(reply, question->info)) {
                unanswered();
            }
            question->answered();
        },
        "s", uuid.c_str());
    // The handle ends the calls, and with them the question they share.
    return Handle([question] {
        for (auto& call : question->calls) {
            call.cancel();
        }
    });
}

}  // namespace olvane::platform::os
