#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/FileIO.h"
#include "safari-extension/DesktopEntry.h"
#include "safari-extension/DesktopEntryOpener.h"
#include "support/TempHome.h"

namespace olvane::safari {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

Args commandOf(const std::string& text) {
    const auto entry = DesktopEntry::parse(text, "/apps/so.olvane.mac.desktop");
    return entry ? entry->commandLine() : Args{"<none>"};
}

TEST(DesktopEntry, UndoesQuotingAndExpandsFieldCodesForNoFiles) {
    const std::string head = "[Desktop Entry]\nType=Application\nName=OlvaneMac\nIcon=olvane\n";
    EXPECT_EQ(commandOf(head + "Exec=OlvaneMac %U"), (Args{"OlvaneMac"}));
    EXPECT_EQ(commandOf(head + R"(Exec="/opt/Olvane Mac/run" --title=%c "a \"b\" \\$x" 100%%)"),
              (Args{"/opt/Olvane Mac/run", "--title=OlvaneMac", R"(a "b" $x)", "100%"}));
    EXPECT_EQ(commandOf(head + "Exec=run %i --from %k \"\" %f"),
              (Args{"run", "--icon", "olvane", "--from", "/apps/so.olvane.mac.desktop", ""}));
    EXPECT_EQ(commandOf(head + "Exec=run\\sfast"), (Args{"run", "fast"}));
    EXPECT_EQ(commandOf(head + "Exec=run \"open"), Args{});

    // Only a visible application of the main group counts.
    EXPECT_EQ(commandOf("[Desktop Entry]\nType=Link\nExec=run"), Args{"<none>"});
    EXPECT_EQ(commandOf(head + "Hidden=true\nExec=run"), Args{"<none>"});
    EXPECT_EQ(commandOf(head + "[Desktop Action new]\nExec=run"), Args{"<none>"});
    EXPECT_EQ(
        commandOf("# comment\n[Desktop Entry]\nExec[fr]=autre\n Exec = run \nType=Application"),
        (Args{"run"}));
}

TEST(DesktopEntryOpener, FindsTheFirstEntryAndStartsItDetached) {
    test::TempHome home;
    const fs::path user = home.root() / "user-apps";
    const fs::path system = home.root() / "system-apps";
    fs::create_directories(user);
    fs::create_directories(system);
    const fs::path marker = home.root() / "launched";  // in the working folder
    const std::string head = "[Desktop Entry]\nType=Application\nExec=";
    ASSERT_TRUE(
        platform::writeFileInPlace(system / "so.olvane.mac.desktop", head + "touch launched"));

    DesktopEntryOpener opener({user, system}, home.root());
    EXPECT_FALSE(opener.urlForApplication("org.example.absent"));
    const auto url = opener.urlForApplication("so.olvane.mac");
    ASSERT_EQ(url, system / "so.olvane.mac.desktop");

    EXPECT_TRUE(opener.openApplication(*url));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(marker) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(fs::exists(marker));

    // A hidden entry of the user's hides the system's one.
    ASSERT_TRUE(platform::writeFileInPlace(user / "so.olvane.mac.desktop",
                                           "[Desktop Entry]\nType=Application\nHidden=true\n"));
    EXPECT_FALSE(opener.urlForApplication("so.olvane.mac"));

    // A program that cannot be started is reported, whether exec or the PATH lookup refuses it.
    const fs::path notExecutable = home.root() / "not-executable";
    ASSERT_TRUE(platform::writeFileInPlace(notExecutable, "#!/bin/sh\n"));
    for (const auto& [program, reason] :
         {std::pair<std::string, std::string>{notExecutable.string(), "Permission refusée"},
          {"olvane-absent-program", "Aucun fichier ou dossier de ce nom"}}) {
        ASSERT_TRUE(platform::writeFileInPlace(user / "so.olvane.mac.desktop", head + program));
        const auto opened = opener.openApplication(user / "so.olvane.mac.desktop");
        EXPECT_FALSE(opened) << program;
        EXPECT_EQ(opened.description().redacted(),
                  "Impossible de lancer « <private> » : " + reason);
    }
}

}  // namespace
}  // namespace olvane::safari
