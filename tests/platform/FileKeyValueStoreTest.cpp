#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <set>
#include <thread>
#include <vector>

#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The names in `folder`, for checking that nothing appeared or went.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

TEST(FileKeyValueStore, ValuesSurviveReopenAsBinaryDataInBase64) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    const std::string binary("{\"a\":1}\0\xff", 9);
    {
        FileKeyValueStore store(file, loop.clock());
        EXPECT_FALSE(store.openReport().fileExisted);
        ASSERT_TRUE(store.set("com.olvane.userSettings", binary));
        ASSERT_TRUE(store.set("gone", "x"));
        ASSERT_TRUE(store.remove("gone"));
    }
    FileKeyValueStore reopened(file, loop.clock());
    const auto value = reopened.get("com.olvane.userSettings");
    ASSERT_TRUE(value.isPresent());
    EXPECT_EQ(value.bytes, binary);
    EXPECT_TRUE(reopened.get("gone").isMissing());

    const auto object = json::parseObject(*readWholeFile(file));
    ASSERT_TRUE(object);
    EXPECT_TRUE((*object)["com.olvane.userSettings"].is_string());
    EXPECT_EQ(test::permissionsOf(file), 0600u);
    EXPECT_EQ(test::permissionsOf(file.parent_path()), 0700u);
}

TEST(FileKeyValueStore, KeepsUndecodableValuesDistinctFromMissingOnes) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileInPlace(file, R"({"notBase64": "***", "number": 3, "good": "eA=="})"));
    FileKeyValueStore store(file, loop.clock());
    EXPECT_EQ(store.get("notBase64").state, StoredValue::State::Undecodable);
    EXPECT_EQ(store.get("number").state, StoredValue::State::Undecodable);
    EXPECT_EQ(store.get("absent").state, StoredValue::State::Missing);
    EXPECT_EQ(store.get("good").bytes, "x");
    // Writing another key keeps the odd members as they were.
    ASSERT_TRUE(store.set("other", "y"));
    FileKeyValueStore reopened(file, loop.clock());
    EXPECT_EQ(reopened.get("number").state, StoredValue::State::Undecodable);
}

TEST(FileKeyValueStore, SetsAsideEachFileItCannotParseUnderANameOfItsOwn) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    std::filesystem::create_directories(file.parent_path());
    std::vector<fs::path> setAside;
    // Twice within the same second: the second copy must not replace the first.
    for (const std::string broken : {"{ first", "{ second"}) {
        ASSERT_TRUE(writeFileInPlace(file, broken));
        FileKeyValueStore store(file, loop.clock());
        EXPECT_TRUE(store.openReport().fileExisted);
        EXPECT_FALSE(store.openReport().leftUntouched);
        setAside.push_back(store.openReport().setAside);
        EXPECT_EQ(readWholeFile(setAside.back()), broken);
        EXPECT_TRUE(store.get("anything").isMissing());
        ASSERT_TRUE(store.set("k", "v"));
    }
    EXPECT_NE(setAside[0], setAside[1]);
    EXPECT_EQ(readWholeFile(setAside[0]), "{ first");
    EXPECT_EQ(setAside[0].filename().string().rfind("defaults.json.corrupt-20", 0), 0u);
}

TEST(FileKeyValueStore, LeavesAFileItCannotReadAsItIsAndNeverWritesOverIt) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    const auto folder = file.parent_path();
    struct Case {
        const char* name;
        std::function<void()> make;
    };
    const std::vector<Case> cases{
        {"a folder", [&] { fs::create_directories(file / "inside"); }},
        // Opening it for reading would wait for a writer that never comes.
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }},
        {"a file too large to be ours",
         [&] {
             ASSERT_TRUE(writeFileInPlace(file, "{}"));
             fs::resize_file(file, 64u << 20);  // sparse: costs no disk
         }},
        {"a loop of links", [&] { fs::create_symlink(file.filename(), file); }},
        {"an unreadable file",
         [&] {
             ASSERT_TRUE(writeFileInPlace(file, "{}"));
             fs::permissions(file, fs::perms::none);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        c.make();
        const auto before = namesIn(folder);
        const auto type = fs::symlink_status(file).type();
        FileKeyValueStore store(file, loop.clock());
        if (std::string(c.name) == "an unreadable file" && ::geteuid() == 0) {
            continue;  // root reads it all the same
        }
        EXPECT_TRUE(store.openReport().leftUntouched);
        EXPECT_FALSE(store.openReport().problem.empty());
        EXPECT_TRUE(store.openReport().setAside.empty());
        EXPECT_FALSE(store.set("k", "v"));
        EXPECT_EQ(namesIn(folder), before);
        EXPECT_EQ(fs::symlink_status(file).type(), type);
    }
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"defaults.json"});
}

TEST(FileKeyValueStore, WritesThroughALinkAndLeavesItALink) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    const auto dotfiles = home.root() / "dotfiles" / "olvane";
    fs::create_directories(dotfiles);
    fs::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileInPlace(dotfiles / "defaults.json", R"({"old": "eA=="})", 0644));
    fs::create_symlink(fs::relative(dotfiles / "defaults.json", file.parent_path()), file);
    {
        FileKeyValueStore store(file, loop.clock());
        EXPECT_EQ(store.get("old").bytes, "x");
        ASSERT_TRUE(store.set("new", "y"));
    }
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(FileKeyValueStore(file, loop.clock()).get("new").bytes, "y");
    EXPECT_EQ(test::permissionsOf(dotfiles / "defaults.json"), 0600u);
    EXPECT_EQ(namesIn(dotfiles), std::vector<std::string>{"defaults.json"});

    // What cannot be parsed is set aside beside the link's target, and the link stays.
    ASSERT_TRUE(writeFileInPlace(dotfiles / "defaults.json", "{ broken"));
    FileKeyValueStore store(file, loop.clock());
    EXPECT_TRUE(fs::equivalent(store.openReport().setAside.parent_path(), dotfiles));
    ASSERT_TRUE(store.set("k", "v"));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(namesIn(dotfiles).size(), 2u);
}

TEST(FileKeyValueStore, KeepsAValueAsideInAFileOfItsOwnEachTime) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    fs::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileInPlace(file, R"({"bytes": "eyJhIjoxfQ==", "odd": [1]})"));
    FileKeyValueStore store(file, loop.clock());
    std::set<fs::path> kept;
    for (const auto& [key, content] :
         {std::pair{"bytes", R"({"a":1})"}, {"bytes", R"({"a":1})"}, {"odd", "[1]"}}) {
        ComposedText where;
        ASSERT_TRUE(store.keepAside(key, where));
        ASSERT_EQ(kept.size() + 2, namesIn(file.parent_path()).size());
        for (const auto& name : namesIn(file.parent_path())) {
            const auto path = file.parent_path() / name;
            if (path != file && kept.insert(path).second) {
                EXPECT_EQ(readWholeFile(path), content);
                EXPECT_EQ(test::permissionsOf(path), 0600u);
                EXPECT_NE(where.text().find(name), std::string::npos);
            }
        }
    }
    EXPECT_EQ(kept.size(), 3u);
}

TEST(FileKeyValueStore, RemoveDomainDeletesTheFile) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    FileKeyValueStore store(file, loop.clock());
    ASSERT_TRUE(store.set("k", "v"));
    ASSERT_TRUE(store.removeDomain());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(store.get("k").isMissing());
}

TEST(FileKeyValueStore, AProcessKilledWhileSavingLeavesAReadableFile) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto file = home.paths().defaultsFile();
    for (int round = 0; round < 5; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileKeyValueStore store(file, loop.clock());
            const std::string big(20000, 'z');
            for (long i = 0;; ++i) {
                (void)store.set("counter", std::to_string(i) + big);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + 7 * round));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        const auto text = readWholeFile(file);
        if (!text) {
            continue;  // killed before the first save
        }
        ASSERT_TRUE(json::parseObject(*text)) << "round " << round;
        FileKeyValueStore store(file, loop.clock());
        EXPECT_TRUE(store.openReport().setAside.empty());
        EXPECT_TRUE(store.get("counter").isPresent());
    }
}

}  // namespace
}  // namespace olvane::platform::os
