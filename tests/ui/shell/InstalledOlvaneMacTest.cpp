// OlvaneMac as a user installs it (`cmake --install --strip` into a prefix of the temporary HOME),
// started from its desktop entry's Exec line: what runs comes from the installed folder only, and
// what it writes names that folder; its uninstall, confirmed through the settings page as a screen
// reader user would, leaves the folder in the trash and nothing else of ours, not even the login
// entry the desktop made of the menu entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "platform/DesktopEntryKeys.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/ProgramSearch.h"
#include "platform/linux/XdgAutostartLoginItems.h"
#include "safari-extension/DesktopEntry.h"
#include "support/AccessibilityBus.h"
#include "support/ChildProcess.h"
#include "support/PrivateSessionBus.h"
#include "support/TempHome.h"
#include "support/XServer.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Files = std::vector<std::string>;

// Every file under `root` (links included), relative to it, but those under `except`.
Files filesUnder(const fs::path& root, const fs::path& except = {}) {
    Files files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::end(it);
         it.increment(ec)) {
        if (!except.empty() && it->path() == except) {
            it.disable_recursion_pending();
        } else if (!it->is_directory() || it->is_symlink()) {
            files.push_back(fs::relative(it->path(), root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool ours(const std::string& file) {
    std::string lower = file;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("olvane") != std::string::npos;
}

// The processes whose executable is `program`.
std::vector<pid_t> processesOf(const fs::path& program) {
    std::vector<pid_t> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        std::error_code linkError;
        if (fs::read_symlink(entry.path() / "exe", linkError) == program) {
            found.push_back(std::atoi(entry.path().filename().c_str()));
        }
    }
    return found;
}

// The files process `pid` has mapped that lie in the build tree.
Files mappedFromTheBuildTree(pid_t pid) {
    Files found;
    const auto maps = platform::readWholeFile("/proc/" + std::to_string(pid) + "/maps");
    const std::string tree = fs::weakly_canonical(OLVANE_BUILD_DIR).string() + "/";
    std::size_t at = 0;
    while (maps && (at = maps->find(tree, at)) != std::string::npos) {
        found.push_back(maps->substr(at, maps->find('\n', at) - at));
        at += tree.size();
    }
    return found;
}

// The names of the ELF sections of `file`, as readelf lists them.
std::string sectionsOf(const fs::path& file) {
    const auto readelf = platform::findProgramOnPath("readelf");
    if (!readelf) {
        return "readelf introuvable";
    }
    test::ChildProcess sections(*readelf, {"-S", "-W", file.string()});
    return sections.readStdoutToEnd(30s);
}

bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + test::kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

TEST(InstalledOlvaneMac, RunsFromItsFolderAndItsUninstallLeavesOnlyTheTrash) {
    test::TempHome home;
    test::XServer display(test::XServer::Options{.windowManager = true});
    test::PrivateSessionBus bus;
    if (!display.ready() || !bus.ready()) {
        GTEST_SKIP() << "Xvfb, openbox ou dbus-daemon indisponible";
    }
    test::AccessibilityBus accessibility;
    if (!accessibility.ready()) {
        GTEST_SKIP() << "bus d’accessibilité indisponible (at-spi2-core)";
    }
    const auto paths = home.paths();

    const auto prefix = home.root() / ".local";
    test::ChildProcess install(
        CMAKE_COMMAND, {"--install", OLVANE_BUILD_DIR, "--prefix", prefix.string(), "--strip"});
    const auto installed = install.wait(120s);
    ASSERT_TRUE(installed && installed->exited && installed->code == 0)
        << install.readStderrToEnd(1s);
    const auto folder = prefix / "lib" / "OlvaneMac";
    const auto entryFile = prefix / "share" / "applications" / "so.olvane.mac.desktop";
    // Stripped copies, the dynamic symbols the modules are opened by kept; the build keeps all.
    for (const auto& file : fs::directory_iterator(folder)) {
        const auto sections = sectionsOf(file.path());
        EXPECT_NE(sections.find(" .dynsym "), std::string::npos) << file.path() << sections;
        EXPECT_EQ(sections.find(" .debug_info "), std::string::npos) << file.path();
        EXPECT_EQ(sections.find(" .symtab "), std::string::npos) << file.path();
    }
    EXPECT_NE(
        sectionsOf(fs::path(OLVANE_BUILD_DIR) / "src/ui/shell/OlvaneMac").find(" .debug_info "),
        std::string::npos);
    const auto keys =
        platform::DesktopEntryKeys::parse(platform::readWholeFile(entryFile).value_or(""));
    ASSERT_TRUE(keys);
    EXPECT_EQ(keys->value("Name"), "OlvaneMac");
    EXPECT_EQ(keys->value("StartupWMClass"), "OlvaneMac");
    EXPECT_EQ(keys->value("Categories"), "Utility;");
    EXPECT_TRUE(fs::exists(prefix / "share" / "icons" / "hicolor" / "256x256" / "apps" /
                           (keys->value("Icon") + ".png")));
    if (const auto validate = platform::findProgramOnPath("desktop-file-validate")) {
        test::ChildProcess check(*validate, {entryFile.string()});
        const auto checked = check.wait(test::kPatience);
        EXPECT_TRUE(checked && checked->exited && checked->code == 0);
        EXPECT_EQ(check.readStdoutToEnd(1s), "");
    }

    // What a run from the build tree left: the browsers' manifest names its host.
    const auto manifest =
        home.root() / ".mozilla" / "native-messaging-hosts" / "com.olvanemac.host.json";
    ASSERT_TRUE(platform::ensurePrivateFolder(manifest.parent_path()));
    ASSERT_TRUE(platform::writeFileAtomically(
        manifest,
        R"({"path": ")" + std::string(OLVANE_BUILD_DIR) + R"(/src/host/olvanemac-host"})"));

    // The user had it start at login with the desktop's startup-applications tool, which copies
    // the menu entry.
    const auto autostart = home.root() / ".config" / "autostart";
    ASSERT_TRUE(platform::ensurePrivateFolder(autostart));
    fs::copy_file(entryFile, autostart / entryFile.filename());

    const auto command = safari::DesktopEntry::load(entryFile)->commandLine();
    ASSERT_EQ(command, std::vector<std::string>{(folder / "OlvaneMac").string()});
    ::setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    test::ChildProcess app(command.front());
    ::unsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", test::kPatience))
        << app.stderrSoFar();

    // Its watchdog and the browsers' host come from the installed folder, and nothing any of
    // them loads from the build tree.
    std::vector<pid_t> watchdogs;
    EXPECT_TRUE(eventually([&] {
        watchdogs = processesOf(folder / "OlvaneWatchdog");
        return !watchdogs.empty();
    }));
    EXPECT_EQ(processesOf(folder / "OlvaneMac"), std::vector<pid_t>{app.pid()});
    for (const pid_t pid : watchdogs) {
        EXPECT_EQ(mappedFromTheBuildTree(pid), Files{});
    }
    EXPECT_EQ(mappedFromTheBuildTree(app.pid()), Files{});
    const auto written = json::parseObject(platform::readWholeFile(manifest).value_or(""));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->value("path", ""), (folder / "olvanemac-host").string());

    // The uninstall, confirmed through the settings page.
    const auto settingsRow = accessibility.waitFor("push button", "Réglages", test::kPatience);
    ASSERT_TRUE(settingsRow && accessibility.press(*settingsRow));
    const auto uninstall = accessibility.waitFor("push button", "Désinstaller", test::kPatience);
    ASSERT_TRUE(uninstall && accessibility.press(*uninstall));
    const auto phrase = accessibility.waitFor("text", "Pour confirmer, saisis :", test::kPatience);
    ASSERT_TRUE(phrase && accessibility.setText(*phrase, "Oui, je veux désinstaller Olvane"));
    const auto confirm = accessibility.waitFor("push button", "Désinstaller", 30s, phrase);
    ASSERT_TRUE(confirm && accessibility.press(*confirm));
    const auto ended = app.wait(test::kPatience);
    ASSERT_TRUE(ended);
    const auto output = app.readStderrToEnd(1s);
    EXPECT_TRUE(ended->exited && ended->code == 0) << output;
    EXPECT_NE(output.find("App: Bundle envoyé à la Corbeille: 3 élément(s)"), std::string::npos)
        << output;
    EXPECT_TRUE(eventually([&] { return processesOf(folder / "OlvaneWatchdog").empty(); }));

    // The folder, its entry and its GNOME Shell extension in the trash; nothing of ours anywhere
    // else.
    const auto trash = paths.trashFolder();
    EXPECT_EQ(
        filesUnder(trash / "files"),
        (Files{"OlvaneMac/OlvaneMac", "OlvaneMac/OlvaneWatchdog", "OlvaneMac/olvane_gsettings.so",
               "OlvaneMac/olvane_network_favicons.so", "OlvaneMac/olvanemac-host",
               "OlvaneMac/olvanemac-safari-extension", "olvanemac@olvane.so/extension.js",
               "olvanemac@olvane.so/metadata.json", "so.olvane.mac.desktop"}));
    Files left;
    for (const auto& file : filesUnder(home.root(), trash)) {
        if (ours(file)) {
            left.push_back(file);
        }
    }
    EXPECT_EQ(left, Files{});
}

// A relative prefix is the caller's, whichever folder the script moves to. Stand-ins for cmake
// (which records its calls) and dpkg-query take the place of the release build and of the set-up.
TEST(InstalledOlvaneMac, TheInstallScriptTakesARelativePrefixInTheCallersFolder) {
    test::TempHome home;
    const auto standIns = home.root() / "stand-ins";
    const auto calls = home.root() / "cmake-calls";
    for (const auto& [name, script] : std::map<std::string, std::string>{
             {"cmake", "printf '%s\\n' \"$*\" >>'" + calls.string() + "'"},
             {"dpkg-query", "echo 'install ok installed'"},
             {"update-desktop-database", "true"}}) {
        ASSERT_TRUE(platform::ensurePrivateFolder(standIns));
        ASSERT_TRUE(
            platform::writeFileAtomically(standIns / name, "#!/bin/sh\n" + script + "\n", 0700));
    }
    const auto caller = home.root() / "ailleurs";
    ASSERT_TRUE(platform::ensurePrivateFolder(caller));
    test::ChildProcess install(
        "/bin/sh", {"-c", "cd \"$0\" && PATH=\"$1:$PATH\" exec \"$2\" rel", caller.string(),
                    standIns.string(), OLVANE_SOURCE_DIR "/scripts/install"});
    const auto ended = install.wait(60s);
    ASSERT_TRUE(ended && ended->exited && ended->code == 0) << install.readStderrToEnd(1s);
    const auto recorded = platform::readWholeFile(calls).value_or("");
    EXPECT_NE(recorded.find("--install build/release --prefix " +
                            (fs::canonical(caller) / "rel").string() + " --strip\n"),
              std::string::npos)
        << recorded;
}

// The install writes its Exec value with CMake; it must quote a path as the login item's does.
TEST(InstalledOlvaneMac, TheDesktopEntryQuotesItsProgramAsTheLoginItemDoes) {
    const fs::path script = fs::path(OLVANE_SOURCE_DIR) / "tests/ui/shell/DesktopExecValue.cmake";
    for (const std::string program :
         {"/home/a/.local/lib/OlvaneMac/OlvaneMac", "/home/a b/lib/OlvaneMac/OlvaneMac",
          "/opt/$x\"y/a\\b`c", "/opt/100%/OlvaneMac", "/o/l'été (1)/#;&|<>~*?"}) {
        test::ChildProcess cmake(CMAKE_COMMAND, {"-DPROGRAM=" + program, "-P", script.string()});
        EXPECT_EQ(cmake.readStderrToEnd(test::kPatience),
                  platform::os::desktopExecValue(program) + "\n");
    }
}

}  // namespace
}  // namespace olvane
