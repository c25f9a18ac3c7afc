#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct sd_bus;

namespace olvane::test {

// The session's accessibility bus (AT-SPI), started through the session bus of this process, and
// the controls the applications registered there expose: a test finds one by its role and name
// and uses it as a screen reader would. A Qt program joins only when the bus ran before it
// started, and with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
class AccessibilityBus {
  public:
    struct Element {
        std::string owner;
        std::string path;
        std::string role;  // as AT-SPI names it: "push button", "text"…
        std::string name;
    };

    AccessibilityBus();
    ~AccessibilityBus();
    AccessibilityBus(const AccessibilityBus&) = delete;
    AccessibilityBus& operator=(const AccessibilityBus&) = delete;

    bool ready() const { return bus_ != nullptr; }

    // The first element of this role and name, in depth-first order (after `after` when given),
    // waited for until `timeout`.
    std::optional<Element> waitFor(const std::string& role, const std::string& name,
                                   std::chrono::milliseconds timeout,
                                   const std::optional<Element>& after = std::nullopt);
    // The element's first action ("Press" for a button).
    bool press(const Element& element);
    // The whole text of an editable element.
    bool setText(const Element& element, const std::string& text);

  private:
    std::vector<Element> elements();
    void collect(const std::string& owner, const std::string& path, int depth,
                 std::vector<Element>& out);

    sd_bus* bus_ = nullptr;
};

}  // namespace olvane::test
