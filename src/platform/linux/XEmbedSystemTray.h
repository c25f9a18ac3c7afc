#pragma once

#include <memory>
#include <string>

#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/SystemTray.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// X11's system tray: whoever owns the selection _NET_SYSTEM_TRAY_S<screen> embeds status icons.
// XFixes tells when the selection changes hands, so a panel started later is seen.
class XEmbedSystemTray final : public SystemTray {
  public:
    // Null when no X server answers or it lacks XFixes.
    static std::unique_ptr<XEmbedSystemTray> create(RunLoop& loop, const std::string& display = {});
    ~XEmbedSystemTray() override;

    bool isPresent() override;
    Handle observeArrivals(Observer observer) override;

  private:
    XEmbedSystemTray(std::unique_ptr<X11Connection> x, xcb_atom_t selection,
                     std::uint8_t firstEvent);
    void handleEvent(const xcb_generic_event_t& event);

    std::unique_ptr<X11Connection> x_;
    xcb_atom_t selection_;
    std::uint8_t xfixesFirstEvent_;
    Signal<> arrivals_;
    Handle events_;
};

}  // namespace olvane::platform::os
