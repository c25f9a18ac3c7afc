#include "support/AccessibilityBus.h"

#include <systemd/sd-bus.h>

#include <cstdlib>
#include <thread>
#include <utility>

#include "platform/linux/BusCall.h"

namespace olvane::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
constexpr int kMaxDepth = 64;

std::string readString(sd_bus_message* reply) {
    const char* text = nullptr;
    return reply && sd_bus_message_read(reply, "s", &text) > 0 && text ? text : "";
}

std::optional<std::string> accessibilityBusAddress() {
    sd_bus* session = nullptr;
    if (sd_bus_open_user(&session) < 0) {
        return std::nullopt;
    }
    platform::os::BusCall call;
    // Asking for the address starts the bus (and its registry) through D-Bus activation.
    const bool asked =
        call.run(session, {"org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"}, "");
    std::string address = asked ? readString(call.reply()) : "";
    sd_bus_flush_close_unref(session);
    return address.empty() ? std::nullopt : std::optional(address);
}

}  // namespace

AccessibilityBus::AccessibilityBus() {
    const auto address = accessibilityBusAddress();
    if (!address) {
        return;
    }
    sd_bus* bus = nullptr;
    if (sd_bus_new(&bus) < 0) {
        return;
    }
    if (sd_bus_set_address(bus, address->c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
        sd_bus_start(bus) < 0) {
        sd_bus_unref(bus);
        return;
    }
    bus_ = bus;
}

AccessibilityBus::~AccessibilityBus() {
    sd_bus_flush_close_unref(bus_);
}

void AccessibilityBus::collect(const std::string& owner, const std::string& path, int depth,
                               std::vector<Element>& out) {
    Element element{owner, path, "", ""};
    if (platform::os::BusCall role;
        role.run(bus_, {owner.c_str(), path.c_str(), kAccessible, "GetRoleName"}, "")) {
        element.role = readString(role.reply());
    }
    char* name = nullptr;
    if (sd_bus_get_property_string(bus_, owner.c_str(), path.c_str(), kAccessible, "Name", nullptr,
                                   &name) >= 0 &&
        name) {
        element.name = name;
    }
    std::free(name);
    out.push_back(element);
    platform::os::BusCall children;
    if (depth == kMaxDepth ||
        !children.run(bus_, {owner.c_str(), path.c_str(), kAccessible, "GetChildren"}, "") ||
        sd_bus_message_enter_container(children.reply(), 'a', "(so)") < 0) {
        return;
    }
    std::vector<std::pair<std::string, std::string>> found;
    const char* childOwner = nullptr;
    const char* childPath = nullptr;
    while (sd_bus_message_read(children.reply(), "(so)", &childOwner, &childPath) > 0) {
        found.emplace_back(childOwner, childPath);
    }
    for (const auto& [childBus, child] : found) {
        collect(childBus.empty() ? owner : childBus, child, depth + 1, out);
    }
}

std::vector<AccessibilityBus::Element> AccessibilityBus::elements() {
    std::vector<Element> all;
    if (!bus_) {
        return all;
    }
    collect("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", 0, all);
    return all;
}

std::optional<AccessibilityBus::Element> AccessibilityBus::waitFor(
    const std::string& role, const std::string& name, std::chrono::milliseconds timeout,
    const std::optional<Element>& after) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        bool passed = !after;
        for (const auto& element : elements()) {
            if (passed && element.role == role && element.name == name) {
                return element;
            }
            passed |= after && element.owner == after->owner && element.path == after->path;
        }
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

bool AccessibilityBus::press(const Element& element) {
    platform::os::BusCall call;
    int done = 0;
    return call.run(
               bus_,
               {element.owner.c_str(), element.path.c_str(), "org.a11y.atspi.Action", "DoAction"},
               "i", 0) &&
           sd_bus_message_read(call.reply(), "b", &done) > 0 && done;
}

bool AccessibilityBus::setText(const Element& element, const std::string& text) {
    platform::os::BusCall call;
    int done = 0;
    return call.run(bus_,
                    {element.owner.c_str(), element.path.c_str(), "org.a11y.atspi.EditableText",
                     "SetTextContents"},
                    "s", text.c_str()) &&
           sd_bus_message_read(call.reply(), "b", &done) > 0 && done;
}

}  // namespace olvane::test
