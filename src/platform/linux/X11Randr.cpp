#include "platform/linux/X11Randr.h"

namespace olvane::platform::os {

bool hasRandr(X11Connection& x) {
    if (!x.extensionMajorOpcode(xcb_randr_id)) {
        return false;
    }
    const XcbPtr<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(x.get(), xcb_randr_query_version(x.get(), 1, 5), nullptr));
    return version && (version->major_version > 1 ||
                       (version->major_version == 1 && version->minor_version >= 3));
}

std::vector<RandrOutput> randrOutputs(X11Connection& x) {
    std::vector<RandrOutput> outputs;
    const XcbPtr<xcb_randr_get_screen_resources_current_reply_t> resources(
        xcb_randr_get_screen_resources_current_reply(
            x.get(), xcb_randr_get_screen_resources_current(x.get(), x.root()), nullptr));
    if (!resources) {
        return outputs;
    }
    const XcbPtr<xcb_randr_get_output_primary_reply_t> primary(xcb_randr_get_output_primary_reply(
        x.get(), xcb_randr_get_output_primary(x.get(), x.root()), nullptr));
    const auto* ids = xcb_randr_get_screen_resources_current_outputs(resources.get());
    const int count = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
    for (int i = 0; i < count; ++i) {
        const XcbPtr<xcb_randr_get_output_info_reply_t> info(xcb_randr_get_output_info_reply(
            x.get(), xcb_randr_get_output_info(x.get(), ids[i], resources->config_timestamp),
            nullptr));
        if (!info) {
            continue;
        }
        RandrOutput output;
        output.id = ids[i];
        output.name.assign(
            reinterpret_cast<const char*>(xcb_randr_get_output_info_name(info.get())),
            static_cast<std::size_t>(xcb_randr_get_output_info_name_length(info.get())));
        output.connected = info->connection == XCB_RANDR_CONNECTION_CONNECTED;
        output.primary = primary && primary->output == ids[i];
        if (info->crtc != XCB_NONE) {
            const XcbPtr<xcb_randr_get_crtc_info_reply_t> crtc(xcb_randr_get_crtc_info_reply(
                x.get(), xcb_randr_get_crtc_info(x.get(), info->crtc, resources->config_timestamp),
                nullptr));
            if (crtc && crtc->mode != XCB_NONE) {
                output.frame = {double(crtc->x), double(crtc->y), double(crtc->width),
                                double(crtc->height)};
            }
        }
        outputs.push_back(std::move(output));
    }
    return outputs;
}

std::vector<Screen> desktopScreens(X11Connection& x) {
    std::vector<Screen> screens;
    if (hasRandr(x)) {
        for (const auto& output : randrOutputs(x)) {
            if (output.connected && !output.frame.isEmpty()) {
                Screen screen{output.name, output.frame};
                if (output.primary) {
                    screens.insert(screens.begin(), screen);
                } else {
                    screens.push_back(screen);
                }
            }
        }
    }
    if (screens.empty()) {
        const auto& root = x.screen();
        screens.push_back(
            {"X11", {0, 0, double(root.width_in_pixels), double(root.height_in_pixels)}});
    }
    return screens;
}

}  // namespace olvane::platform::os
