#include <gtest/gtest.h>
#include <sys/stat.h>

#include "model/RulesFileService.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::LogLevel;
using platform::sim::ScopedLogCapture;

Json fileObject(const fs::path& path) {
    const auto text = platform::readWholeFile(path);
    return text ? json::parse(*text).value_or(Json()) : Json();
}

struct RulesFileServiceTest : ::testing::Test {
    test::TempHome home;
    platform::Paths paths = home.paths();
    ScopedLogCapture log;
};

TEST_F(RulesFileServiceTest, FirstUpdateCreatesTheFolderTheFileAndItsSharedCopy) {
    ASSERT_FALSE(fs::exists(paths.dataFolder()));
    RulesFileService service(paths);
    EXPECT_TRUE(fs::is_directory(paths.dataFolder()));
    EXPECT_EQ(test::permissionsOf(paths.dataFolder()), 0700u);
    EXPECT_EQ(service.appSupportDirectory(), paths.dataFolder());

    service.updateRules("_grayscale", Json{{"allowedSites", {"site.test"}}});
    const auto text = platform::readWholeFile(service.rulesFile());
    ASSERT_TRUE(text);
    EXPECT_EQ(*json::parse(*text), (Json{{"_grayscale", {{"allowedSites", {"site.test"}}}}}));
    EXPECT_NE(text->find("\n  "), std::string::npos);  // indented
    EXPECT_EQ(platform::readWholeFile(service.sharedRulesFile()), text);
    EXPECT_TRUE(log->contains("App", LogLevel::Debug, "rules.json mis à jour: _grayscale"));
    EXPECT_TRUE(log->contains("rules.json synchronisé vers Group Container"));
    for (const auto& line : log->lines()) {
        EXPECT_NE(line.level, LogLevel::Error) << line.text;
    }
}

TEST_F(RulesFileServiceTest, TheSameRulesAgainLeaveBothFilesAlone) {
    RulesFileService service(paths);
    const Json section{{"allowedSites", {"site.test"}}};
    service.updateRules("_grayscale", section);
    const auto inode = [](const fs::path& path) {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
    };
    const auto rules = inode(service.rulesFile());
    const auto shared = inode(service.sharedRulesFile());
    service.updateRules("_grayscale", section);
    EXPECT_EQ(inode(service.rulesFile()), rules);
    EXPECT_EQ(inode(service.sharedRulesFile()), shared);
    service.updateRules("_grayscale", Json{{"allowedSites", {"other.test"}}});
    EXPECT_NE(inode(service.rulesFile()), rules);
}

TEST_F(RulesFileServiceTest, UpdateReplacesOneSectionAndKeepsTheOthers) {
    RulesFileService service(paths);
    const Json before = {{"youtube", {{"yt_shorts", true}}},
                         {"_grayscale", {{"allowedSites", {"a.test"}}}},
                         {"_redList", {{"sites", Json::array()}}}};
    ASSERT_TRUE(service.writeRules(before));

    service.updateRules("_redList", Json{{"sites", {{{"domain", "b.test"}}}}});
    Json expected = before;
    expected["_redList"] = {{"sites", {{{"domain", "b.test"}}}}};
    EXPECT_EQ(fileObject(service.rulesFile()), expected);

    service.updateRules("youtube", std::nullopt);
    expected.erase("youtube");
    EXPECT_EQ(fileObject(service.rulesFile()), expected);

    // Removing an absent key still rewrites and copies.
    fs::remove(service.sharedRulesFile());
    service.updateRules("absent", std::nullopt);
    EXPECT_EQ(fileObject(service.sharedRulesFile()), expected);
}

TEST_F(RulesFileServiceTest, CorruptOrNonObjectFileIsRebuiltAndReported) {
    RulesFileService service(paths);
    for (const char* content : {"[1, 2]", "{\"youtube\": ", "\"text\""}) {
        SCOPED_TRACE(content);
        log->clear();
        ASSERT_TRUE(platform::writeFileInPlace(service.rulesFile(), content));
        service.updateRules("_redList", Json{{"sites", Json::array()}});
        EXPECT_EQ(fileObject(service.rulesFile()),
                  (Json{{"_redList", {{"sites", Json::array()}}}}));
        const auto errors = log->texts("App");
        EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const std::string& line) {
            return line.starts_with("⚠️ rules.json inutilisable, il est reconstruit: ");
        }));
    }
}

TEST_F(RulesFileServiceTest, FailedWriteLogsAnErrorAndCopiesNothing) {
    RulesFileService service(paths);
    service.updateRules("_grayscale", Json{{"allowedSites", Json::array()}});
    const auto sharedBefore = platform::readWholeFile(service.sharedRulesFile());
    ASSERT_TRUE(sharedBefore);

    // A folder in place of the file makes the replacing rename fail, even for root.
    fs::remove(service.rulesFile());
    fs::create_directory(service.rulesFile());
    log->clear();
    service.updateRules("_redList", Json{{"sites", Json::array()}});

    const auto lines = log->lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const auto& line) {
        return line.level == LogLevel::Error &&
               line.text.starts_with("⚠️ Échec d'écriture de rules.json: ");
    }));
    EXPECT_FALSE(log->contains("rules.json mis à jour: _redList"));
    EXPECT_FALSE(log->contains("rules.json synchronisé vers Group Container"));
    EXPECT_EQ(platform::readWholeFile(service.sharedRulesFile()), sharedBefore);
}

TEST_F(RulesFileServiceTest, WritesLeaveNoTemporaryFileBehind) {
    // What a run killed while writing left behind goes at the next start.
    for (const auto& folder : {paths.dataFolder(), paths.sharedContainer()}) {
        fs::create_directories(folder);
        ASSERT_TRUE(platform::writeFileInPlace(folder / ".rules.json.a1B2c3", "{"));
    }
    RulesFileService service(paths);
    service.updateRules("_grayscale", Json{{"allowedSites", Json::array()}});
    service.updateRules("_redList", Json{{"sites", Json::array()}});
    for (const auto& folder : {paths.dataFolder(), paths.sharedContainer()}) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"rules.json"});
    }
    EXPECT_EQ(test::permissionsOf(service.rulesFile()), 0600u);
}

TEST_F(RulesFileServiceTest, MissingContainerStillWritesTheDataFolderFile) {
    fs::create_directories(paths.sharedContainer().parent_path());
    ASSERT_TRUE(platform::writeFileInPlace(paths.sharedContainer(), "not a folder"));
    RulesFileService service(paths);
    service.updateRules("_grayscale", Json{{"allowedSites", Json::array()}});
    service.updateRules("_redList", Json{{"sites", Json::array()}});
    EXPECT_EQ(fileObject(service.rulesFile()).size(), 2u);
    EXPECT_EQ(log->count("Group Container non disponible — sync Safari ignorée"), 2u);
}

TEST_F(RulesFileServiceTest, LegacyKeysAreRemovedInListOrderWithoutACopy) {
    RulesFileService service(paths);
    ASSERT_TRUE(platform::writeFileInPlace(
        service.rulesFile(), R"({"_fog": {}, "youtube": {"yt_home": true}, "tiktok": {}})"));

    service.cleanLegacyKeys();
    const auto text = platform::readWholeFile(service.rulesFile());
    EXPECT_EQ(*json::parse(*text), (Json{{"youtube", {{"yt_home", true}}}}));
    EXPECT_TRUE(log->contains("App", LogLevel::Info,
                              "rules.json nettoyé: clés legacy supprimées (tiktok, _fog)"));
    EXPECT_FALSE(fs::exists(service.sharedRulesFile()));

    const auto mtime = platform::modificationTimeNs(service.rulesFile());
    log->clear();
    service.cleanLegacyKeys();
    EXPECT_EQ(platform::modificationTimeNs(service.rulesFile()), mtime);
    EXPECT_TRUE(log->lines().empty());
}

TEST_F(RulesFileServiceTest, WholeObjectIsWrittenWithSortedKeys) {
    RulesFileService service(paths);
    ASSERT_TRUE(service.writeRules(Json{{"youtube", Json::object()}, {"_redList", 1}}));
    const auto text = *platform::readWholeFile(service.rulesFile());
    EXPECT_LT(text.find("\"_redList\""), text.find("\"youtube\""));
    EXPECT_EQ(service.readRules(), (Json{{"youtube", Json::object()}, {"_redList", 1}}));
}

}  // namespace
}  // namespace olvane
