#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// A window property as the server holds it.
struct X11Property {
    xcb_atom_t type = XCB_ATOM_NONE;
    std::uint8_t format = 0;  // 8, 16 or 32 bits per item
    std::vector<std::uint8_t> bytes;

    // The items of a 32-bit property; empty for any other format.
    std::vector<std::uint32_t> words() const;
    // The first item of a 32-bit property.
    std::optional<std::uint32_t> firstWord() const;
    // The bytes of an 8-bit property up to the first NUL.
    std::string text() const;
    // Every NUL-separated string of an 8-bit property (WM_CLASS: instance, then class).
    std::vector<std::string> texts() const;
};

// Reads a property of `window` (any type when `type` is XCB_ATOM_ANY); absent when the window
// has none, is gone, or the property holds another type.
std::optional<X11Property> readProperty(X11Connection& x, xcb_window_t window, xcb_atom_t property,
                                        xcb_atom_t type = XCB_ATOM_ANY);
std::optional<X11Property> readProperty(X11Connection& x, xcb_window_t window,
                                        const char* propertyName, xcb_atom_t type = XCB_ATOM_ANY);

// Asks for PropertyNotify (and any other `mask`) events of `window`.
void selectWindowEvents(X11Connection& x, xcb_window_t window, std::uint32_t mask);

}  // namespace olvane::platform::os
