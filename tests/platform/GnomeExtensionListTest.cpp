// The uninstall's edit of the extensions a GNOME user enabled, on a keyfile in a temporary HOME.
#include <gtest/gtest.h>

#include "platform/linux/GnomeExtensionList.h"
#include "support/KeyfileSettings.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

TEST(GnomeExtensionList, OnlyOurExtensionLeavesTheUsersList) {
    EXPECT_EQ(stringListWithout("['a@x', 'ours@y', 'b@z']", "ours@y"), "['a@x', 'b@z']");
    EXPECT_EQ(stringListWithout("@as []", "ours@y"), "[]");
    EXPECT_EQ(stringListWithout("['ours@y']", "ours@y"), "[]");
    EXPECT_FALSE(stringListWithout("['a@x', ", "ours@y"));
    EXPECT_FALSE(stringListWithout("true", "ours@y"));

    test::TempHome home;
    test::KeyfileSettings settings(home);
    auto* keys = GSettingsKeys::shared();
    ASSERT_TRUE(keys);
    if (!keys->has("org.gnome.shell", "enabled-extensions")) {
        GTEST_SKIP() << "GNOME Shell's schemas are not installed";
    }
    settings.write("[org/gnome/shell]\nenabled-extensions=['a@x', 'ours@y', 'b@z']\n");
    ASSERT_TRUE(forgetEnabledGnomeExtension(*keys, "ours@y"));
    EXPECT_EQ(settings.value("org.gnome.shell", "enabled-extensions"), "['a@x', 'b@z']");
}

}  // namespace
}  // namespace olvane::platform::os
