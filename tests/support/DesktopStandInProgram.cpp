// Stand-ins for the desktops on the session bus. "olvane-desktop-stand-in kwin VERSION [--loaded]"
// is KWin: it states VERSION in its support information, answers the effect calls, and writes
// one line for each effect call and each kwinrc change notice. "olvane-desktop-stand-in
// gnome-shell" only owns GNOME Shell's name. "olvane-desktop-stand-in status-notifier-watcher"
// is a StatusNotifier tray with its host, and writes "item SERVICE" for each icon registered.
// Says "ready" once it owns its name; ends when its standard input closes.
#include <poll.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <set>
#include <string>

namespace {

std::string version;
std::set<std::string> loaded;

int supportInformation(sd_bus_message* call, void*, sd_bus_error*) {
    const std::string text =
        "KWin Support Information:\n\nVersion\n=======\nKWin version: " + version +
        "\nQt Version: 6.9.0\n";
    return sd_bus_reply_method_return(call, "s", text.c_str());
}

// Writes "<member> <effect>" and answers; loadEffect and isEffectLoaded answer a boolean.
int effectCall(sd_bus_message* call, void*, sd_bus_error*) {
    const char* name = nullptr;
    if (sd_bus_message_read(call, "s", &name) < 0) {
        return -EINVAL;
    }
    const std::string member = sd_bus_message_get_member(call);
    if (member == "isEffectLoaded") {
        return sd_bus_reply_method_return(call, "b", loaded.contains(name));
    }
    std::cout << member << " " << name << std::endl;
    if (member == "loadEffect") {
        const bool added = loaded.insert(name).second;
        return sd_bus_reply_method_return(call, "b", added);
    }
    if (member == "unloadEffect") {
        loaded.erase(name);
    }
    return sd_bus_reply_method_return(call, "");
}

int configChanged(sd_bus_message* signal, void*, sd_bus_error*) {
    std::cout << "kwinrc changed:";
    if (sd_bus_message_enter_container(signal, 'a', "{saay}") < 0) {
        return 0;
    }
    while (sd_bus_message_enter_container(signal, 'e', "saay") > 0) {
        const char* group = nullptr;
        sd_bus_message_read(signal, "s", &group);
        std::cout << " " << group << ":";
        sd_bus_message_enter_container(signal, 'a', "ay");
        const char* separator = " ";
        const void* bytes = nullptr;
        size_t size = 0;
        while (sd_bus_message_read_array(signal, 'y', &bytes, &size) > 0) {
            std::cout << separator << std::string(static_cast<const char*>(bytes), size);
            separator = ",";
        }
        sd_bus_message_exit_container(signal);
        sd_bus_message_exit_container(signal);
    }
    std::cout << std::endl;
    return 0;
}

const sd_bus_vtable kKWin[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("supportInformation", "", "s", supportInformation, 0),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable kEffects[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("loadEffect", "s", "b", effectCall, 0),
    SD_BUS_METHOD("unloadEffect", "s", "", effectCall, 0),
    SD_BUS_METHOD("reconfigureEffect", "s", "", effectCall, 0),
    SD_BUS_METHOD("isEffectLoaded", "s", "b", effectCall, 0),
    SD_BUS_VTABLE_END,
};

int hostRegistered(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                   sd_bus_error*) {
    return sd_bus_message_append(reply, "b", 1);
}

int registerItem(sd_bus_message* call, void*, sd_bus_error*) {
    const char* service = nullptr;
    if (sd_bus_message_read(call, "s", &service) < 0) {
        return -EINVAL;
    }
    std::cout << "item " << service << std::endl;
    return sd_bus_reply_method_return(call, "");
}

const sd_bus_vtable kWatcher[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("IsStatusNotifierHostRegistered", "b", hostRegistered, 0,
                    SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", registerItem, 0),
    SD_BUS_VTABLE_END,
};

}  // namespace

bool serveKWin(sd_bus* bus) {
    return sd_bus_add_object_vtable(bus, nullptr, "/KWin", "org.kde.KWin", kKWin, nullptr) >= 0 &&
           sd_bus_add_object_vtable(bus, nullptr, "/Effects", "org.kde.kwin.Effects", kEffects,
                                    nullptr) >= 0 &&
           sd_bus_match_signal(bus, nullptr, nullptr, "/kwinrc", "org.kde.kconfig.notify",
                               "ConfigChanged", configChanged, nullptr) >= 0;
}

int main(int argc, char** argv) {
    const bool kwin = argc >= 3 && std::string(argv[1]) == "kwin";
    const bool tray = argc == 2 && std::string(argv[1]) == "status-notifier-watcher";
    if (!kwin && !tray && !(argc == 2 && std::string(argv[1]) == "gnome-shell")) {
        return 2;
    }
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        return 1;
    }
    if (kwin) {
        version = argv[2];
        if (argc > 3 && std::string(argv[3]) == "--loaded") {
            loaded.insert("colorblindnesscorrection");
        }
        if (!serveKWin(bus)) {
            return 1;
        }
    }
    if (tray && sd_bus_add_object_vtable(bus, nullptr, "/StatusNotifierWatcher",
                                         "org.kde.StatusNotifierWatcher", kWatcher, nullptr) < 0) {
        return 1;
    }
    // The stand-in before this one may still be leaving the name.
    const char* name = kwin   ? "org.kde.KWin"
                       : tray ? "org.kde.StatusNotifierWatcher"
                              : "org.gnome.Shell";
    int named = -EEXIST;
    for (int attempt = 0; named == -EEXIST && attempt < 100; ++attempt) {
        named = sd_bus_request_name(bus, name, 0);
        if (named == -EEXIST) {
            ::usleep(20'000);
        }
    }
    if (named < 0) {
        return 1;
    }
    std::cout << "ready" << std::endl;
    for (;;) {
        while (sd_bus_process(bus, nullptr) > 0) {
        }
        pollfd fds[2] = {{sd_bus_get_fd(bus), static_cast<short>(sd_bus_get_events(bus)), 0},
                         {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            break;
        }
        if (fds[1].revents != 0) {
            char byte = 0;
            if (::read(STDIN_FILENO, &byte, 1) <= 0) {
                break;
            }
        }
    }
    sd_bus_flush_close_unref(bus);
    return 0;
}
