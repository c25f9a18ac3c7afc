#include <gtest/gtest.h>

#include <filesystem>

#include "host/RulesFile.h"
#include "platform/FileIO.h"
#include "platform/linux/DiskFileSystem.h"
#include "support/TempHome.h"

namespace olvane::host {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(RulesFile, KeepsWhatItReadWhileTheFileIsUnchangedAndOnlyThen) {
    test::TempHome home;
    const auto path = home.root() / "rules.json";
    std::vector<std::string> logged;
    const HostLog log([&](std::string_view line) { logged.emplace_back(line); });
    platform::os::DiskFileSystem files;
    RulesFile rules(files, path, log);
    const auto read = [&rules] {
        RulesFile::Contents contents;
        rules.readAndSend([&contents](const RulesFile::Contents& now) { contents = now; });
        return contents;
    };
    const auto write = [&](const std::string& text, fs::file_time_type stamp) {
        ASSERT_TRUE(platform::writeFileInPlace(path, text));
        fs::last_write_time(path, stamp);
    };
    const auto longAgo = fs::file_time_type::clock::now() - 1h;

    EXPECT_EQ(read().objectText, "{}");
    EXPECT_FALSE(read().modificationTimeNs);

    write("{\n  \"youtube\": {\"yt_shorts\": true}\n}\n", longAgo);
    const auto first = read();
    EXPECT_EQ(first.objectText, R"({"youtube":{"yt_shorts":true}})");
    EXPECT_EQ(first.modificationTimeNs, platform::modificationTimeNs(path));
    EXPECT_EQ(read().generation, first.generation) << "an unchanged file is not read again";

    // Same size, same modification time: the change of its status still shows.
    write("{\n  \"youtube\": {\"yt_shorts\": fals}\n}\n", longAgo);
    EXPECT_EQ(read().objectText, "{}");
    EXPECT_EQ(logged.size(), 1u);
    write("[\"youtube\"]", longAgo);
    EXPECT_EQ(read().objectText, "{}");
    EXPECT_EQ(logged.size(), 1u) << "JSON of another kind is carried as nothing, silently";

    // Just written: read again each time until it has settled.
    write(R"({"a": 1})", fs::file_time_type::clock::now());
    const auto fresh = read().generation;
    EXPECT_NE(read().generation, fresh);

    // Watched, it is kept at once, until a change is reported.
    rules.setWatched(true);
    const auto watched = read().generation;
    EXPECT_EQ(read().generation, watched);
    rules.noteChanged();
    EXPECT_NE(read().generation, watched);
    rules.setWatched(false);

    fs::remove(path);
    EXPECT_EQ(read().objectText, "{}");
    EXPECT_FALSE(read().modificationTimeNs);
}

}  // namespace
}  // namespace olvane::host
