#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "files/ioError.h"
#include "files/textFile.h"
#include "support/tempFolder.h"

namespace fs = std::filesystem;

namespace {

mode_t permissionsOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0);
    return status.st_mode & 07777;
}

}  // namespace

TEST(FileReplace, SaveKeepsTheFilesIdentity) {
    TempFolder folder;
    writeBytes(folder.file("real.mvk"), "old");
    fs::create_directory(folder.file("links"));
    fs::create_symlink("../real.mvk", folder.file("links/first.mvk"));
    fs::create_symlink("first.mvk", folder.file("links/second.mvk"));
    // Through two links, the file they lead to gets the bytes; the links stay links.
    writeFileReplacing(folder.file("links/second.mvk"), "new");
    EXPECT_EQ(readBytes(folder.file("real.mvk")), "new");
    EXPECT_TRUE(fs::is_symlink(folder.file("links/second.mvk")));
    EXPECT_TRUE(fs::is_symlink(folder.file("links/first.mvk")));
    EXPECT_EQ(namesIn(folder.file("links")), (std::vector<std::string>{"first.mvk", "second.mvk"}));

    for (mode_t mode : {0600, 0640, 0604}) {
        chmod(folder.file("real.mvk").c_str(), mode);
        writeFileReplacing(folder.file("real.mvk"), "again");
        EXPECT_EQ(permissionsOf(folder.file("real.mvk")), mode);
    }

    fs::create_symlink("loop", folder.file("loop"));
    EXPECT_THROW(writeFileReplacing(folder.file("loop"), "x"), IoError);
}

TEST(FileReplace, FileWithOtherHardLinksIsRefusedAndUntouched) {
    TempFolder folder;
    writeBytes(folder.file("p.mvk"), "old");
    fs::create_hard_link(folder.file("p.mvk"), folder.file("other.mvk"));
    try {
        writeFileReplacing(folder.file("p.mvk"), "new");
        ADD_FAILURE() << "saved over a file with two links";
    } catch (const IoError& error) {
        EXPECT_EQ(error.what(),
                  "The file has other hard links, which a save would cut; it was "
                  "not saved: " +
                      folder.file("p.mvk"));
    }
    EXPECT_EQ(fs::hard_link_count(folder.file("p.mvk")), 2u);
    EXPECT_EQ(readBytes(folder.file("other.mvk")), "old");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"other.mvk", "p.mvk"}));
}

TEST(FileReplace, TemporaryFileOfAKilledSaveGoesWithTheNextSave) {
    TempFolder folder;
    writeBytes(folder.file("p.mvk"), "old");
    writeBytes(folder.file("p.mvk.123456789-0.tmp"), std::string(1 << 20, 'x'));  // abandoned
    writeBytes(folder.file("p.mvk.notes.tmp"), "not a save's");
    writeBytes(folder.file("q.mvk.123456789-0.tmp"), "another file's");
    // A save still running holds its temporary file locked.
    writeBytes(folder.file("p.mvk.987654321-1.tmp"), "");
    const int running = open(folder.file("p.mvk.987654321-1.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(flock(running, LOCK_EX), 0);

    writeFileReplacing(folder.file("p.mvk"), "new");
    close(running);
    EXPECT_EQ(readBytes(folder.file("p.mvk")), "new");
    EXPECT_EQ(namesIn(folder.path()),
              (std::vector<std::string>{"p.mvk", "p.mvk.987654321-1.tmp", "p.mvk.notes.tmp",
                                        "q.mvk.123456789-0.tmp"}));
}
