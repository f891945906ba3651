#include <gtest/gtest.h>

#include <filesystem>

#include "editing/sourceFiles.h"
#include "editing/sourcePick.h"
#include "regional/regionalFormats.h"
#include "support/tempFolder.h"

namespace {

class SourceFilesTest : public testing::Test {
protected:
    std::string touch(const std::string& name) { return folder.touch(name); }

    TempFolder folder;
};

}  // namespace

TEST_F(SourceFilesTest, EachFileBecomesTheTaskOfItsPickOrIsSkippedWithTheReason) {
    const std::string first = touch("one/VTS_01_1.VOB");
    writeBytes(folder.file("one/CellTimes.txt"), "0\n7500\n");
    const std::string second = touch("two/movie.vob");
    const std::string stream = touch("three/movie.M2V");
    touch("three/movie.ac3");
    const std::string loneStream = touch("four/film.m2v");
    const std::string notes = touch("four/notes.txt");
    const std::string folderNamedVob = folder.file("five/DISC.VOB");
    std::filesystem::create_directories(folderNamedVob);
    const std::string overwritten = touch("six/remuxedVTS_01_1.VOB");

    const SourceFilesOutcome outcome = tasksFromSourceFiles(
        {first, notes, second, folderNamedVob, stream, loneStream, overwritten}, TAllTask(), "PAL",
        RegionalFormats());

    EXPECT_EQ(outcome.addedFiles, (std::vector<std::string>{first, second, stream}));
    ASSERT_EQ(outcome.tasks.size(), 3u);
    for (std::size_t i = 0; i < outcome.tasks.size(); ++i) {
        const Ttask picked = taskFromSourceFile(outcome.addedFiles[i], "PAL", RegionalFormats());
        EXPECT_EQ(outcome.tasks[i].origVobFilePath, picked.origVobFilePath);
        EXPECT_EQ(outcome.tasks[i].m2vFilePath, picked.m2vFilePath);
        EXPECT_EQ(outcome.tasks[i].ac3FilePath, picked.ac3FilePath);
        EXPECT_EQ(outcome.tasks[i].vobFilePath, picked.vobFilePath);
        EXPECT_EQ(outcome.tasks[i].dvdFolderPath, picked.dvdFolderPath);
        EXPECT_EQ(outcome.tasks[i].chapterList, picked.chapterList);
        EXPECT_EQ(outcome.tasks[i].doDemux, picked.doDemux);
    }
    EXPECT_EQ(outcome.tasks[0].chapterList, "00:00:00,00:05:00");
    EXPECT_FALSE(outcome.tasks[2].doDemux);
    EXPECT_EQ(outcome.tasks[2].ac3FilePath, folder.file("three/movie.ac3"));

    ASSERT_EQ(outcome.skipped.size(), 4u);
    EXPECT_EQ(sourceFilesSummary(outcome),
              "Tasks added: 3\r\n   " + first + "\r\n   " + second + "\r\n   " + stream +
                  "\r\n\r\nFiles skipped: 4\r\n   " + notes + " is not a VOB or .m2v file\r\n   " +
                  folderNamedVob + " cannot be read\r\n   " + loneStream +
                  " has no audio stream (.ac3) of the same name beside it\r\n   " + overwritten +
                  " would be overwritten by its remuxed VOB file");
}

TEST_F(SourceFilesTest, LongListsAreCutInTheSummary) {
    SourceFilesOutcome outcome;
    for (int i = 0; i < 22; ++i) {
        outcome.addedFiles.push_back("/dvd/" + std::to_string(i) + ".VOB");
    }
    const std::string summary = sourceFilesSummary(outcome);
    EXPECT_EQ(summary.rfind("Tasks added: 22\r\n   /dvd/0.VOB\r\n", 0), 0u);
    EXPECT_NE(summary.find("   /dvd/19.VOB\r\n   ... and 2 more"), std::string::npos);
    EXPECT_EQ(summary.find("/dvd/20.VOB"), std::string::npos);
    EXPECT_EQ(summary.find("skipped"), std::string::npos);
}

TEST_F(SourceFilesTest, SourcesSharingAFolderGetNamesOfTheirOwnAndNoSourceIsAddedTwice) {
    const std::string listed = touch("disc/VTS_01_1.VOB");
    const std::string second = touch("disc/VTS_01_2.VOB");
    const std::string third = touch("disc/VTS_01_3.VOB");
    const std::string alone = touch("other/VTS_01_1.VOB");
    TAllTask list;
    list.add(std::make_shared<Ttask>(taskFromSourceFile(listed, "PAL", RegionalFormats())));

    const SourceFilesOutcome outcome = tasksFromSourceFiles(
        {listed, second, third, folder.path() + "/disc/../disc/VTS_01_2.VOB", alone}, list, "PAL",
        RegionalFormats());

    ASSERT_EQ(outcome.tasks.size(), 3u);
    const Ttask& own = outcome.tasks[0];
    EXPECT_EQ(own.m2vFilePath, folder.file("disc/VTS_01_2.m2v"));
    EXPECT_EQ(own.ac3FilePath, folder.file("disc/VTS_01_2.ac3"));
    EXPECT_EQ(own.vobFilePath, folder.file("disc/remuxedVTS_01_2.VOB"));
    EXPECT_EQ(own.dvdFolderPath, folder.file("disc/VTS_01_2 DVD"));
    EXPECT_EQ(outcome.tasks[1].dvdFolderPath, folder.file("disc/VTS_01_3 DVD"));
    // Alone in its folder, a source keeps the usual names.
    const Ttask usual = taskFromSourceFile(alone, "PAL", RegionalFormats());
    EXPECT_EQ(outcome.tasks[2].vobFilePath, usual.vobFilePath);
    EXPECT_EQ(outcome.tasks[2].dvdFolderPath, usual.dvdFolderPath);

    EXPECT_EQ(
        sourceFilesSummary(outcome),
        "Tasks added: 3\r\n   " + second + "\r\n   " + third + "\r\n   " + alone +
            "\r\n\r\nGiven names of their own, as their folder holds other sources: 2\r\n   " +
            second + "\r\n   " + third + "\r\n\r\nFiles skipped: 2\r\n   " + listed +
            " is already the source of a task\r\n   " + folder.path() +
            "/disc/../disc/VTS_01_2.VOB is already the source of a task");
}
