#include "platform/linux/X11Properties.h"

#include <cstring>
#include <utility>

namespace olvane::platform::os {
namespace {

// Longer properties than this (in 32-bit units) are cut: no property we read comes close.
constexpr std::uint32_t kMaxPropertyLength = 1u << 20;

}  // namespace

std::vector<std::uint32_t> X11Property::words() const {
    if (format != 32) {
        return {};
    }
    std::vector<std::uint32_t> items(bytes.size() / sizeof(std::uint32_t));
    if (items.empty()) {
        return items;
    }
    std::memcpy(items.data(), bytes.data(), items.size() * sizeof(std::uint32_t));
    return items;
}

std::optional<std::uint32_t> X11Property::firstWord() const {
    const auto items = words();
    if (items.empty()) {
        return std::nullopt;
    }
    return items.front();
}

std::string X11Property::text() const {
    if (format != 8) {
        return {};
    }
    std::string value(bytes.begin(), bytes.end());
    return value.substr(0, value.find('\0'));
}

std::vector<std::string> X11Property::texts() const {
    std::vector<std::string> values;
    if (format != 8) {
        return values;
    }
    std::string current;
    for (const auto byte : bytes) {
        if (byte == 0) {
            values.push_back(std::exchange(current, {}));
        } else {
            current += static_cast<char>(byte);
        }
    }
    if (!current.empty()) {
        values.push_back(current);
    }
    return values;
}

std::optional<X11Property> readProperty(X11Connection& x, xcb_window_t window, xcb_atom_t property,
                                        xcb_atom_t type) {
    if (property == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const auto cookie = xcb_get_property(x.get(), 0, window, property, type, 0, kMaxPropertyLength);
    const XcbPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(x.get(), cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || (type != XCB_ATOM_ANY && reply->type != type)) {
        return std::nullopt;
    }
    const auto* data = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    return X11Property{reply->type, reply->format, std::vector<std::uint8_t>(data, data + length)};
}

std::optional<X11Property> readProperty(X11Connection& x, xcb_window_t window,
                                        const char* propertyName, xcb_atom_t type) {
    return readProperty(x, window, x.atom(propertyName, true), type);
}

void selectWindowEvents(X11Connection& x, xcb_window_t window, std::uint32_t mask) {
    xcb_change_window_attributes(x.get(), window, XCB_CW_EVENT_MASK, &mask);
}

}  // namespace olvane::platform::os
