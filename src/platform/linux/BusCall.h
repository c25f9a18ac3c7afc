#pragma once

#include <systemd/sd-bus.h>

#include "platform/ComposedText.h"
#include "platform/linux/SessionBus.h"

namespace olvane::platform::os {

// The reply of one call, freed on every path.
class BusCall {
  public:
    BusCall() = default;
    BusCall(const BusCall&) = delete;
    BusCall& operator=(const BusCall&) = delete;
    ~BusCall() {
        sd_bus_error_free(&error_);
        sd_bus_message_unref(reply_);
    }

    template <typename... Arguments>
    bool run(sd_bus* bus, const BusMethod& method, const char* types, Arguments... arguments) {
        return sd_bus_call_method(bus, method.destination, method.path, method.interface,
                                  method.member, &error_, &reply_, types, arguments...) >= 0;
    }
    sd_bus_message* reply() const { return reply_; }
    ComposedText failure(const BusMethod& method) const {
        auto text = "« " + ComposedText(method.member) + " » sur " + method.destination;
        // The service's own words may name the user's files.
        if (error_.message) {
            text += " : " + userData(error_.message);
        } else if (error_.name) {
            text += " : " + ComposedText(error_.name);
        }
        return text;
    }

  private:
    sd_bus_error error_{};  // SD_BUS_ERROR_NULL is a C compound literal
    sd_bus_message* reply_ = nullptr;
};

}  // namespace olvane::platform::os
