#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/linux/FileKeyValueStore.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

TEST(FileKeyValueStore, ValuesSurviveReopenAsBinaryDataInBase64) {
    test::TempHome home;
    const auto file = home.paths().defaultsFile();
    const std::string binary("{\"a\":1}\0\xff", 9);
    {
        FileKeyValueStore store(file);
        EXPECT_FALSE(store.openReport().fileExisted);
        ASSERT_TRUE(store.set("com.olvane.userSettings", binary));
        ASSERT_TRUE(store.set("gone", "x"));
        ASSERT_TRUE(store.remove("gone"));
    }
    FileKeyValueStore reopened(file);
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
    const auto file = home.paths().defaultsFile();
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileInPlace(file, R"({"notBase64": "***", "number": 3, "good": "eA=="})"));
    FileKeyValueStore store(file);
    EXPECT_EQ(store.get("notBase64").state, StoredValue::State::Undecodable);
    EXPECT_EQ(store.get("number").state, StoredValue::State::Undecodable);
    EXPECT_EQ(store.get("absent").state, StoredValue::State::Missing);
    EXPECT_EQ(store.get("good").bytes, "x");
    // Writing another key keeps the odd members as they were.
    ASSERT_TRUE(store.set("other", "y"));
    FileKeyValueStore reopened(file);
    EXPECT_EQ(reopened.get("number").state, StoredValue::State::Undecodable);
}

TEST(FileKeyValueStore, SetsAsideAFileItCannotParseInsteadOfOverwritingIt) {
    test::TempHome home;
    const auto file = home.paths().defaultsFile();
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileInPlace(file, "{ broken"));
    FileKeyValueStore store(file);
    EXPECT_TRUE(store.openReport().fileExisted);
    ASSERT_FALSE(store.openReport().setAside.empty());
    EXPECT_EQ(readWholeFile(store.openReport().setAside), "{ broken");
    EXPECT_TRUE(store.get("anything").isMissing());
    ASSERT_TRUE(store.set("k", "v"));
}

TEST(FileKeyValueStore, RemoveDomainDeletesTheFile) {
    test::TempHome home;
    const auto file = home.paths().defaultsFile();
    FileKeyValueStore store(file);
    ASSERT_TRUE(store.set("k", "v"));
    ASSERT_TRUE(store.removeDomain());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(store.get("k").isMissing());
}

TEST(FileKeyValueStore, AProcessKilledWhileSavingLeavesAReadableFile) {
    test::TempHome home;
    const auto file = home.paths().defaultsFile();
    for (int round = 0; round < 5; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileKeyValueStore store(file);
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
        FileKeyValueStore store(file);
        EXPECT_TRUE(store.openReport().setAside.empty());
        EXPECT_TRUE(store.get("counter").isPresent());
    }
}

}  // namespace
}  // namespace olvane::platform::os
