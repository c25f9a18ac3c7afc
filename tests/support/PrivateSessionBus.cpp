#include "support/PrivateSessionBus.h"

#include <cstdlib>

namespace olvane::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kVariable = "DBUS_SESSION_BUS_ADDRESS";

}  // namespace

PrivateSessionBus::PrivateSessionBus() {
    if (const char* value = std::getenv(kVariable)) {
        previous_ = value;
    }
    daemon_ = std::make_unique<ChildProcess>(
        "/usr/bin/dbus-daemon",
        std::vector<std::string>{"--session", "--nofork", "--nopidfile", "--print-address=1"});
    std::string address;
    while (address.empty() || address.back() != '\n') {
        const auto byte = daemon_->readStdout(1, kPatience);
        if (byte.empty()) {
            return;
        }
        address += byte;
    }
    address.pop_back();
    address_ = address;
    ::setenv(kVariable, address_.c_str(), 1);
}

PrivateSessionBus::~PrivateSessionBus() {
    if (previous_) {
        ::setenv(kVariable, previous_->c_str(), 1);
    } else {
        ::unsetenv(kVariable);
    }
}

}  // namespace olvane::test
