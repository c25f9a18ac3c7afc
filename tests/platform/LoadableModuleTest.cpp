#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <utility>

#include "olvane_test_module_build_id.h"
#include "olvane_test_module_rebuilt_build_id.h"
#include "platform/FileIO.h"
#include "platform/LoadableModule.h"
#include "support/TempHome.h"

namespace olvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kModule = "olvane_test_module.so";
constexpr const char* kEntry = "olvaneTestModuleAnswer";
constexpr const char* kBuildId = OLVANE_TEST_MODULE_BUILD_ID;

int answerOf(LoadableModule& module) {
    using Answer = int();
    auto* answer = reinterpret_cast<Answer*>(module.entryPoint(kEntry));
    return answer ? answer() : 0;
}

void copyModule(const fs::path& to, const fs::path& from = OLVANE_TEST_MODULE) {
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

TEST(LoadableModule, TheBuildsCopyServesOnlyAProgramThatRunsFromThatBuild) {
    test::TempHome home;
    const auto tree = home.root() / "build";
    const auto built = tree / "src" / "platform" / kModule;
    copyModule(built);

    LoadableModule inTree(kModule, built, kBuildId, tree / "src" / "watchdog" / "OlvaneWatchdog",
                          tree);
    EXPECT_EQ(answerOf(inTree), 42) << inTree.failure().text();

    // Copied elsewhere, the program opens nothing of the tree, whose path another user may fill.
    const auto copy = home.root() / "copie" / "OlvaneWatchdog";
    LoadableModule copied(kModule, built, kBuildId, copy, tree);
    EXPECT_EQ(answerOf(copied), 0);
    EXPECT_EQ(copied.failure().text(),
              std::string(kModule) + " introuvable dans " + copy.parent_path().string());

    copyModule(copy.parent_path() / kModule);
    LoadableModule beside(kModule, built, kBuildId, copy, tree);
    EXPECT_EQ(answerOf(beside), 42) << beside.failure().text();
}

TEST(LoadableModule, AFailureNamesTheModuleAndTheReason) {
    test::TempHome home;
    const auto program = home.root() / "OlvaneMac";
    const auto module = home.root() / kModule;
    ASSERT_TRUE(writeFileAtomically(module, "pas un module"));
    LoadableModule broken(kModule, fs::path(), kBuildId, program, fs::path());
    EXPECT_EQ(broken.entryPoint(kEntry), nullptr);
    EXPECT_EQ(broken.failure().text(),
              "Module " + module.string() +
                  " non chargé : Pas un module d’OlvaneMac (aucun identifiant "
                  "de construction)");

    copyModule(module);
    LoadableModule withoutEntry(kModule, fs::path(), kBuildId, program, fs::path());
    EXPECT_EQ(withoutEntry.entryPoint("absente"), nullptr);
    EXPECT_TRUE(
        withoutEntry.failure().text().starts_with("absente absent de " + module.string() + " : "))
        << withoutEntry.failure().text();
    EXPECT_NE(withoutEntry.failure().text().find("undefined symbol: absente"), std::string::npos);
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
        LoadableModule refused(kModule, fs::path(), kBuildId, program, fs::path());
        EXPECT_EQ(refused.entryPoint(kEntry), nullptr);
        EXPECT_EQ(refused.failure().text(),
                  "Module " + module.string() + " non chargé : " + reason);
    }
}

// Installed over the running program: it opens nothing of that build, not even its
// initialisers, until it starts again.
TEST(LoadableModule, AModuleOfAnotherBuildIsNeverLoaded) {
    test::TempHome home;
    const auto program = home.root() / "OlvaneMac";
    const auto module = home.root() / kModule;
    copyModule(module, OLVANE_TEST_MODULE_REBUILT);
    LoadableModule running(kModule, fs::path(), kBuildId, program, fs::path());
    EXPECT_EQ(answerOf(running), 0);
    EXPECT_EQ(running.failure().text(),
              "Module " + module.string() +
                  " non chargé : Il vient d’une autre construction (OlvaneMac "
                  "a été mis à jour : relance-le pour l’utiliser)");
    EXPECT_EQ(::dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);

    copyModule(module);
    EXPECT_EQ(answerOf(running), 0);
    {
        LoadableModule restarted(kModule, fs::path(), kBuildId, program, fs::path());
        EXPECT_EQ(answerOf(restarted), 42) << restarted.failure().text();
    }
    // The loader must never take one module for another opened before it.
    const auto elsewhere = home.root() / "autre" / kModule;
    copyModule(elsewhere, OLVANE_TEST_MODULE_REBUILT);
    LoadableModule ofTheOtherBuild(kModule, fs::path(), OLVANE_TEST_MODULE_REBUILT_BUILD_ID,
                                   elsewhere.parent_path() / "OlvaneMac", fs::path());
    EXPECT_EQ(answerOf(ofTheOtherBuild), 43) << ofTheOtherBuild.failure().text();
}

}  // namespace
}  // namespace olvane::platform
