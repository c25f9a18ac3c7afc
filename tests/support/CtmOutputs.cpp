#include "support/CtmOutputs.h"

#include <cstring>

#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Randr.h"

namespace olvane::test {

using platform::os::CtmWords;
using platform::os::XcbPtr;

bool addCtmToOutputs(const std::string& display, const CtmWords& words) {
    auto x = platform::os::X11Connection::open(display);
    if (!x || !platform::os::hasRandr(*x)) {
        return false;
    }
    const auto ctm = x->atom("CTM");
    bool added = false;
    for (const auto& output : platform::os::randrOutputs(*x)) {
        if (!output.connected) {
            continue;
        }
        const XcbPtr<xcb_generic_error_t> error(xcb_request_check(
            x->get(), xcb_randr_change_output_property_checked(
                          x->get(), output.id, ctm, XCB_ATOM_INTEGER, 32, XCB_PROP_MODE_REPLACE,
                          static_cast<std::uint32_t>(words.size()), words.data())));
        added = !error;
        if (error) {
            return false;
        }
    }
    return added;
}

std::vector<CtmWords> ctmOfOutputs(const std::string& display) {
    std::vector<CtmWords> found;
    auto x = platform::os::X11Connection::open(display);
    if (!x) {
        return found;
    }
    const auto ctm = x->atom("CTM", true);
    for (const auto& output : platform::os::randrOutputs(*x)) {
        const XcbPtr<xcb_randr_get_output_property_reply_t> reply(
            xcb_randr_get_output_property_reply(
                x->get(),
                xcb_randr_get_output_property(x->get(), output.id, ctm, XCB_ATOM_ANY, 0, 18, 0, 0),
                nullptr));
        if (output.connected && reply && reply->format == 32 && reply->num_items == 18) {
            CtmWords words{};
            std::memcpy(words.data(), xcb_randr_get_output_property_data(reply.get()),
                        sizeof words);
            found.push_back(words);
        }
    }
    return found;
}

}  // namespace olvane::test
