#include <gtest/gtest.h>

#include <vector>

#include "platform/LogSink.h"

namespace olvane::platform {
namespace {

std::string format(std::string_view fmt, std::vector<LogArg> args, bool redact = false) {
    return formatLogMessage(fmt, args, redact);
}

TEST(LogFormat, FillsTheSpecifiersTheSystemUses) {
    EXPECT_EQ(format("Réglages chargés avec succès (v%ld)", {1}),
              "Réglages chargés avec succès (v1)");
    EXPECT_EQ(format("État N&B sauvegardé: %{bool}d", {true}), "État N&B sauvegardé: true");
    EXPECT_EQ(format("%{bool,private}d", {false}), "false");
    EXPECT_EQ(format("%02d:%02d", {5, 7}), "05:07");
    EXPECT_EQ(format("%.1f s", {2.25}), "2.2 s");
    EXPECT_EQ(format("mode (%u)", {4294967295u}), "mode (4294967295)");
    EXPECT_EQ(format("keyCode=%hu", {12}), "keyCode=12");
    EXPECT_EQ(format("%lld ms", {static_cast<long long>(-3)}), "-3 ms");
    EXPECT_EQ(format("100%% %s", {"fini"}), "100% fini");
    EXPECT_EQ(format("manque %s", {}), "manque <?>");
}

TEST(LogFormat, RedactsStringsUnlessPublicAndNumbersOnlyWhenPrivate) {
    const std::vector<LogArg> args{"youtube.com", 3, "PING", 42};
    const char* fmt = "site %s, %ld règles, %{public}@, écran %{private}ld";
    EXPECT_EQ(format(fmt, args, true), "site <private>, 3 règles, PING, écran <private>");
    EXPECT_EQ(format(fmt, args, false), "site youtube.com, 3 règles, PING, écran 42");
}

}  // namespace
}  // namespace olvane::platform
