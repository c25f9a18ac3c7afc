#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "platform/sim/ManualRunLoop.h"
#include "ui/shell/TerminationSignals.h"

namespace olvane::ui {
namespace {

using namespace std::chrono_literals;

TEST(TerminationSignals, HandsSigtermSigintAndSighupToTheLoopThenRestoresTheOldHandlers) {
    std::signal(SIGTERM, SIG_IGN);
    platform::sim::ManualRunLoop loop;
    std::vector<int> received;
    {
        TerminationSignals signals(loop, [&](int signal) { received.push_back(signal); });
        ASSERT_TRUE(signals.valid());
        std::raise(SIGTERM);
        std::raise(SIGINT);
        std::raise(SIGHUP);
        EXPECT_TRUE(received.empty());  // nothing runs inside the handler
        loop.processIo(100ms);
        EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    }
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
    std::signal(SIGTERM, SIG_DFL);
}

}  // namespace
}  // namespace olvane::ui
