#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <utility>

#include "platform/FileIO.h"
#include "platform/LoadableModule.h"
#include "support/TempHome.h"

namespace olvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kModule = "olvane_test_module.so";
constexpr const char* kEntry = "olvaneTestModuleAnswer";

int answerOf(LoadableModule& module) {
    using Answer = int();
    auto* answer = reinterpret_cast<Answer*>(module.entryPoint(kEntry));
    return answer ? answer() : 0;
}

void copyModule(const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(OLVANE_TEST_MODULE, to, fs::copy_options::overwrite_existing);
}

TEST(LoadableModule, TheBuildsCopyServesOnlyAProgramThatRunsFromThatBuild) {
    test::TempHome home;
    const auto tree = home.root() / "build";
    const auto built = tree / "src" / "platform" / kModule;
    copyModule(built);

    LoadableModule inTree(kModule, built, tree / "src" / "watchdog" / "OlvaneWatchdog", tree);
    EXPECT_EQ(answerOf(inTree), 42) << inTree.failure();

    // Copied elsewhere, the program opens nothing of the tree, whose path another user may fill.
    const auto copy = home.root() / "copie" / "OlvaneWatchdog";
    LoadableModule copied(kModule, built, copy, tree);
    EXPECT_EQ(answerOf(copied), 0);
    EXPECT_EQ(copied.failure(),
              std::string(kModule) + " introuvable dans " + copy.parent_path().string());

    copyModule(copy.parent_path() / kModule);
    LoadableModule beside(kModule, built, copy, tree);
    EXPECT_EQ(answerOf(beside), 42) << beside.failure();
}

TEST(LoadableModule, AFailureNamesTheModuleAndTheLoadersReason) {
    test::TempHome home;
    const auto program = home.root() / "OlvaneMac";
    const auto module = home.root() / kModule;
    ASSERT_TRUE(writeFileAtomically(module, "pas un module"));
    LoadableModule broken(kModule, fs::path(), program, fs::path());
    EXPECT_EQ(broken.entryPoint(kEntry), nullptr);
    EXPECT_TRUE(broken.failure().starts_with("Module " + module.string() +
                                             " non chargé : " + module.string() + ": "))
        << broken.failure();

    copyModule(module);
    LoadableModule withoutEntry(kModule, fs::path(), program, fs::path());
    EXPECT_EQ(withoutEntry.entryPoint("absente"), nullptr);
    EXPECT_TRUE(withoutEntry.failure().starts_with("absente absent de " + module.string() + " : "))
        << withoutEntry.failure();
    EXPECT_NE(withoutEntry.failure().find("undefined symbol: absente"), std::string::npos);
}

// The loader would wait for ever on a FIFO with no writer, and ctest's timeout would end the test.
TEST(LoadableModule, WhatIsNoRegularFileIsRefusedAtOnce) {
    test::TempHome home;
    const auto program = home.root() / "OlvaneMac";
    const auto module = home.root() / kModule;
    const auto fifo = home.root() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { fs::create_symlink(fifo, module); }, "N’est pas un fichier ordinaire"},
        {[&] { ASSERT_EQ(::mkfifo(module.c_str(), 0600), 0); }, "N’est pas un fichier ordinaire"},
        {[&] { fs::create_directory(module); }, "Est un dossier"},
    };
    for (const auto& [put, reason] : cases) {
        fs::remove(module);
        put();
        LoadableModule refused(kModule, fs::path(), program, fs::path());
        EXPECT_EQ(refused.entryPoint(kEntry), nullptr);
        EXPECT_EQ(refused.failure(), "Module " + module.string() + " non chargé : " + reason);
    }
}

}  // namespace
}  // namespace olvane::platform
