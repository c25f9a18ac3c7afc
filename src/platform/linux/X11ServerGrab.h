#pragma once

#include <xcb/xcb.h>

#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// While it lives, the server handles no other client's requests: what this connection does in
// several requests reaches the others as one. Keep it short; never wait on another client under
// it.
class X11ServerGrab {
  public:
    explicit X11ServerGrab(X11Connection& x) : x_(x) { xcb_grab_server(x_.get()); }
    ~X11ServerGrab() {
        xcb_ungrab_server(x_.get());
        x_.flush();
    }
    X11ServerGrab(const X11ServerGrab&) = delete;
    X11ServerGrab& operator=(const X11ServerGrab&) = delete;

  private:
    X11Connection& x_;
};

}  // namespace olvane::platform::os
