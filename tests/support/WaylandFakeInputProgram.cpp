// KWin's fake input for the tests, one command a line on stdin, answered "ok" once KWin has
// taken it (or "error …"):
//   move X Y        the pointer to X,Y in KWin's global logical pixels
//   click           the left button pressed and released
//   type TEXT       TEXT typed on a US keyboard
// KWin offers the protocol only when KWIN_WAYLAND_NO_PERMISSION_CHECKS is set.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "fake-input-client-protocol.h"

namespace {

struct Globals {
    org_kde_kwin_fake_input* input = nullptr;
};

void announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
               std::uint32_t version) {
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        static_cast<Globals*>(data)->input = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
    }
}

void withdrawn(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {announced, withdrawn};

struct Key {
    std::uint32_t code;
    bool shifted;
};

// The key of a letter on a US keyboard.
std::optional<Key> keyOf(char letter) {
    static constexpr std::string_view rows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`",
                                                "\\zxcvbnm,./"};
    static constexpr std::string_view shiftedRows[] = {"!@#$%^&*()_+", "QWERTYUIOP{}",
                                                       "ASDFGHJKL:\"~", "|ZXCVBNM<>?"};
    static constexpr std::uint32_t firstCodes[] = {KEY_1, KEY_Q, KEY_A, KEY_BACKSLASH};
    if (letter == ' ') {
        return Key{KEY_SPACE, false};
    }
    if (letter == '\n') {
        return Key{KEY_ENTER, false};
    }
    for (int row = 0; row < 4; ++row) {
        // The fourth row starts with the backslash, then jumps to Z.
        const auto codeAt = [&](std::size_t at) {
            return row == 3 && at > 0 ? KEY_Z + std::uint32_t(at) - 1
                                      : firstCodes[row] + std::uint32_t(at);
        };
        if (const auto at = rows[row].find(letter); at != std::string_view::npos) {
            return Key{codeAt(at), false};
        }
        if (const auto at = shiftedRows[row].find(letter); at != std::string_view::npos) {
            return Key{codeAt(at), true};
        }
    }
    return std::nullopt;
}

void press(org_kde_kwin_fake_input* input, std::uint32_t code, bool down) {
    org_kde_kwin_fake_input_keyboard_key(
        input, code, down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
}

bool type(org_kde_kwin_fake_input* input, std::string_view text) {
    for (const char letter : text) {
        const auto key = keyOf(letter);
        if (!key) {
            return false;
        }
        if (key->shifted) {
            press(input, KEY_LEFTSHIFT, true);
        }
        press(input, key->code, true);
        press(input, key->code, false);
        if (key->shifted) {
            press(input, KEY_LEFTSHIFT, false);
        }
    }
    return true;
}

// Carries one command out; false when it is none.
bool carryOut(org_kde_kwin_fake_input* input, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "move") {
        double x = 0;
        double y = 0;
        if (!(words >> x >> y)) {
            return false;
        }
        org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_double(x),
                                                        wl_fixed_from_double(y));
        return true;
    }
    if (command == "click") {
        org_kde_kwin_fake_input_button(input, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
        org_kde_kwin_fake_input_button(input, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
        return true;
    }
    if (command == "type" && line.size() > command.size() + 1) {
        return type(input, std::string_view(line).substr(command.size() + 1));
    }
    return false;
}

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::cerr << "pas de compositeur Wayland\n";
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (!globals.input) {
        std::cerr << "le compositeur n’offre pas org_kde_kwin_fake_input 4\n";
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(globals.input, "OlvaneMac tests", "tests");
    std::string line;
    while (std::getline(std::cin, line)) {
        const bool done = carryOut(globals.input, line);
        if (wl_display_roundtrip(display) < 0) {
            std::cout << "error connexion perdue" << std::endl;
            return 1;
        }
        std::cout << (done ? "ok" : "error commande inconnue") << std::endl;
    }
    org_kde_kwin_fake_input_destroy(globals.input);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
