#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileIO.h"
#include "support/TempHome.h"

namespace olvane::platform {
namespace {

namespace fs = std::filesystem;

ino_t inodeOf(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

long entriesIn(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

TEST(FileIO, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
    test::TempHome home;
    const auto path = home.root() / "rules.json";
    ASSERT_TRUE(writeFileInPlace(path, "old"));
    const auto before = inodeOf(path);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(readWholeFile(path), "new");
    EXPECT_NE(inodeOf(path), before);
    EXPECT_EQ(test::permissionsOf(path), 0600u);
    EXPECT_EQ(entriesIn(home.root()), 2);  // rules.json and the runtime folder
}

TEST(FileIO, CreationLeavesAFileAlreadyThereAloneAndNoTemporary) {
    test::TempHome home;
    const auto path = home.root() / "rules.json";
    ASSERT_TRUE(createFileAtomically(path, "{}"));
    EXPECT_EQ(readWholeFile(path), "{}");
    EXPECT_EQ(test::permissionsOf(path), 0600u);
    ASSERT_TRUE(writeFileAtomically(path, "the application's"));
    const auto again = createFileAtomically(path, "{}");
    EXPECT_FALSE(again);
    EXPECT_EQ(again.description().redacted(),
              "Impossible de créer « <private> » : Le fichier existe déjà");
    EXPECT_EQ(readWholeFile(path), "the application's");
    EXPECT_EQ(entriesIn(home.root()), 2);  // rules.json and the runtime folder
}

TEST(FileIO, InPlaceWriteKeepsTheInode) {
    test::TempHome home;
    const auto path = home.root() / "site.json";
    ASSERT_TRUE(writeFileInPlace(path, "a longer first content"));
    const auto before = inodeOf(path);
    ASSERT_TRUE(writeFileInPlace(path, "short"));
    EXPECT_EQ(inodeOf(path), before);
    EXPECT_EQ(readWholeFile(path), "short");
}

TEST(FileIO, FailuresAreReportedWithAReason) {
    test::TempHome home;
    const auto path = home.root() / "no" / "such" / "folder.json";
    const auto atomic = writeFileAtomically(path, "x");
    EXPECT_FALSE(atomic);
    // Our words reach the persistent logs; the user's path does not.
    EXPECT_EQ(atomic.description().redacted(),
              "Impossible d’écrire « <private> » : Aucun fichier ou dossier de ce nom");
    EXPECT_NE(atomic.description().text().find(path.string()), std::string::npos);
    EXPECT_FALSE(writeFileInPlace(path, "x"));
    ComposedText error;
    EXPECT_FALSE(readWholeFile(path, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(modificationTimeNs(path));
}

TEST(FileIO, ReadingAndInPlaceWritingRefuseAtOnceWhatIsNotARegularFile) {
    test::TempHome home;
    const auto device = home.root() / "device";
    fs::create_symlink("/dev/null", device);
    ComposedText error;
    // First, so that an unguarded reader fails here rather than waiting on the FIFO below.
    ASSERT_FALSE(readWholeFile(device, &error));
    EXPECT_EQ(error.redacted(),
              "Impossible de lire « <private> » : N’est pas un fichier ordinaire");
    const auto fifo = home.root() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(readWholeFile(fifo));
    for (const auto& path : {device, fifo}) {
        EXPECT_EQ(writeFileInPlace(path, "x").description().redacted(),
                  "Impossible d’écrire « <private> » : N’est pas un fichier ordinaire");
    }
    EXPECT_FALSE(readWholeFile(home.root(), &error));
    EXPECT_EQ(error.redacted(), "Impossible de lire « <private> » : Est un dossier");

    const auto file = home.root() / "four";
    ASSERT_TRUE(writeFileAtomically(file, "1234"));
    EXPECT_EQ(readWholeFile(file, nullptr, 4), "1234");
    EXPECT_FALSE(readWholeFile(file, &error, 3));
    EXPECT_EQ(error.redacted(), "Impossible de lire « <private> » : Fichier trop volumineux");
}

}  // namespace
}  // namespace olvane::platform
