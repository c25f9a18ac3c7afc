#pragma once

#include <cstdio>

#include "platform/Json.h"
#include "safari-extension/SafariExtensionHandler.h"

namespace olvane::safari {

// Safari's side of the handler, carried as length-prefixed JSON frames (the framing of the
// native-messaging host):
//   in   {"name": "PAGE_INIT" | "SITE_CONTEXT" | "FULLSCREEN_VIDEO" | …, "userInfo": {…},
//         "page": <any, names the page>}
//        {"event": "willNavigate", "url": "…" (absent or null: a page without address)}
//        {"event": "toolbarItemClicked"}
//        {"event": "validateToolbarItem"}
//   out  {"name": "PAGE_CONFIG", "page": <as received>, "userInfo": {…}}
//        {"event": "toolbarItemValidated", "enabled": true, "badgeText": ""}
class PageMessagePipe {
  public:
    PageMessagePipe(SafariExtensionHandler& handler, std::FILE* in, std::FILE* out);

    // Serves frames until the input ends or a frame is malformed (not an object of JSON).
    void run();
    // One decoded frame.
    void dispatch(const Json& frame);

  private:
    void handleEvent(const std::string& event, const Json& frame);
    void send(const Json& frame);

    SafariExtensionHandler& handler_;
    std::FILE* in_;
    std::FILE* out_;
};

}  // namespace olvane::safari
