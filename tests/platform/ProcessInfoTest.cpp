#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>

#include "platform/FileIO.h"
#include "platform/linux/ProcessInfo.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

TEST(ProcessInfoTest, FlatpakIdFromTheSandboxInfoElseTheScope) {
    struct Case {
        const char* name;
        const char* flatpakInfo;  // null: none
        const char* cgroup;
        std::optional<std::string> id;
    };
    const Case cases[] = {
        {"sandbox info", "[Instance]\nname=x\n[Application]\nname=org.gnome.Maps\n", "0::/\n",
         "org.gnome.Maps"},
        {"scope name", nullptr,
         "0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
         "app-flatpak-org.mozilla.firefox-4242.scope\n",
         "org.mozilla.firefox"},
        {"no sandbox", nullptr, "0::/user.slice/user-1000.slice/session-2.scope\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempHome home;
        const auto process = home.root() / "proc" / "42";
        std::filesystem::create_directories(process / "root");
        ASSERT_TRUE(writeFileAtomically(process / "cgroup", c.cgroup).ok());
        if (c.flatpakInfo) {
            ASSERT_TRUE(
                writeFileAtomically(process / "root" / ".flatpak-info", c.flatpakInfo).ok());
        }
        EXPECT_EQ(ProcessInfo(home.root() / "proc").flatpakId(42), c.id);
    }
}

TEST(ProcessInfoTest, OwnProcess) {
    const ProcessInfo proc;
    const auto launched = proc.launchDate(::getpid());
    ASSERT_TRUE(launched);
    const auto now = static_cast<double>(std::time(nullptr));
    EXPECT_LE(*launched, now + 1);
    EXPECT_GT(*launched, now - 3600);
    EXPECT_EQ(proc.executableName(::getpid()), "olvane_x11_tests");
}

}  // namespace
}  // namespace olvane::platform::os
