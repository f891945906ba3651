#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "files/ioError.h"
#include "platform/platform.h"
#include "storage/projectFile.h"
#include "support/sanitizerSlowdown.h"
#include "support/tempFolder.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace {

const std::string separator(36, '_');
const std::string reserved = "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

TaskRef exampleTask() {
    auto task = std::make_shared<Ttask>();
    task->origVobFilePath = "D:\\dvd\\VTS_01_1.VOB";
    task->m2vFilePath = "D:\\dvd\\VTS_01_1.m2v";
    task->ac3FilePath = "D:\\dvd\\VTS_01_1.ac3";
    task->vobFilePath = "D:\\dvd\\remuxedVTS_01_1.VOB";
    task->dvdFolderPath = "D:\\dvd";
    task->chapterList = "00:05:00,00:10:00";
    return task;
}

TAllTask loaded(const std::string& bytes) {
    TempFolder folder;
    writeBytes(folder.file("p.mvk"), bytes);
    TAllTask tasks;
    projectFile::load(folder.file("p.mvk"), tasks);
    return tasks;
}

}  // namespace

TEST(ProjectFile, ExactBytesOfASavedList) {
    TAllTask tasks;
    EXPECT_EQ(projectFile::serialize(tasks), "0\r\n");

    tasks.add(exampleTask());
    EXPECT_EQ(projectFile::serialize(tasks),
              "1\r\n" + separator +
                  "\r\nD:\\dvd\\VTS_01_1.VOB\r\nD:\\dvd\\VTS_01_1.m2v\r\nD:\\dvd\\VTS_01_1.ac3\r\n"
                  "D:\\dvd\\remuxedVTS_01_1.VOB\r\nD:\\dvd\r\n00:05:00,00:10:00\r\n"
                  "True\r\nTrue\r\nTrue\r\nFalse\r\nFalse\r\nFalse\r\n" +
                  reserved);
}

TEST(ProjectFile, SavedListLoadsBackFieldForField) {
    TempFolder folder;
    TAllTask tasks;
    tasks.add(exampleTask());
    auto second = std::make_shared<Ttask>();
    second->doDemux = false;
    second->deleteStreams = true;
    second->vobFilePath =
        "/m\xe9"
        "dia/\xff"
        " name;$x`*.VOB";  // 8-bit bytes kept as they are
    second->chapterList = "00:05:00,\xb0\xe9";
    tasks.add(second);
    projectFile::save(folder.file("p.mvk"), tasks);

    TAllTask back;
    projectFile::load(folder.file("p.mvk"), back);
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(projectFile::serialize(back), projectFile::serialize(tasks));
    EXPECT_EQ(back.taskAt(1)->vobFilePath, second->vobFilePath);
    EXPECT_EQ(back.taskAt(1)->chapterList, second->chapterList);
    EXPECT_FALSE(back.taskAt(1)->doDemux);
    EXPECT_TRUE(back.taskAt(1)->deleteStreams);
}

TEST(ProjectFile, ExtraChoicesLineKeepsWordsItDoesNotKnow) {
    const std::string flags = "True\r\nTrue\r\nTrue\r\nFalse\r\nFalse\r\nFalse\r\n";
    const std::string head = "1\r\n" + separator + "\r\na\r\nb\r\nc.ac3\r\nd\r\ne\r\n\r\n" + flags;
    const std::string rest = "\r\n\r\n\r\n\r\n\r\n\r\n\r\n";  // seven reserved lines
    TAllTask tasks = loaded(head + "later=2 audio=all other\r\n" + rest);
    ASSERT_EQ(tasks.count(), 1);
    Ttask& task = *tasks.taskAt(0);
    EXPECT_TRUE(taskChoices::keepsEveryAudioTrack(task));
    EXPECT_EQ(projectFile::serialize(tasks), head + "later=2 audio=all other\r\n" + rest);

    taskChoices::setKeepEveryAudioTrack(task, false);
    EXPECT_EQ(projectFile::serialize(tasks), head + "later=2 other\r\n" + rest);
    taskChoices::setKeepEveryAudioTrack(task, true);
    EXPECT_EQ(task.extraChoices, "later=2 other audio=all");
    // A word that only contains the choice is another word.
    task.extraChoices = "xaudio=all";
    EXPECT_FALSE(taskChoices::keepsEveryAudioTrack(task));
}

TEST(ProjectFile, ReadingRulesForLinesAndFlags) {
    // LF alone, a lone CR dropped, flags other than exactly "True" false, Ctrl-Z ends the file.
    const TAllTask tasks =
        loaded("1\nsep\na\rb\n\n\n\n\n\nTRUE\n True\nTrue\n" + reserved + "\x1a" + "9\n");
    ASSERT_EQ(tasks.count(), 1);
    EXPECT_EQ(tasks.taskAt(0)->origVobFilePath, "ab");
    EXPECT_FALSE(tasks.taskAt(0)->doDemux);
    EXPECT_FALSE(tasks.taskAt(0)->doRemux);
    EXPECT_TRUE(tasks.taskAt(0)->doAuthor);
}

TEST(ProjectFile, ShortFileGivesTasksOnlyForBlocksThatBegin) {
    // The second block is cut short: its missing lines are empty or false.
    const TAllTask tasks =
        loaded("3\r\n" + separator + "\r\na\r\n" + std::string(19, '\n') + separator + "\r\nb\r\n");
    ASSERT_EQ(tasks.count(), 2);
    EXPECT_EQ(tasks.taskAt(1)->origVobFilePath, "b");
    EXPECT_EQ(tasks.taskAt(1)->chapterList, "");
    EXPECT_FALSE(tasks.taskAt(1)->doDemux || tasks.taskAt(1)->doAuthor);
    EXPECT_EQ(loaded("-5\r\n").count(), 0);
}

TEST(ProjectFile, FirstLineMustBeAWholeNumber) {
    for (const char* text : {"abc", "", "12x", "99999999999", "1 "}) {
        try {
            loaded(std::string(text) + "\r\n");
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(),
                      "'" + std::string(text) +
                          platform::systemText("' n'est pas une valeur enti\xc3\xa8re correcte"));
        }
    }
    // A long line is quoted by its first 100 bytes only.
    try {
        loaded(std::string(5000, 'y') + "\r\n");
        ADD_FAILURE() << "accepted a long line";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.what(),
                  "'" + std::string(100, 'y') +
                      platform::systemText("' n'est pas une valeur enti\xc3\xa8re correcte"));
    }
}

TEST(ProjectFile, CraftedFilesLoadPromptly) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(loaded("2000000000\r\n").count(), 0);
    // A line of 100 MiB is refused at its first MiB.
    EXPECT_THROW(loaded("2000000000\r\n" + separator + "\r\n" + std::string(100 << 20, 'x')),
                 IoError);
    std::string garbage(1 << 20, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    EXPECT_LE(loaded("40000\n" + garbage).count(), 40000);
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::seconds(10) * sanitizerSlowdown);
}

TEST(ProjectFile, FailedSaveKeepsThePreviousFile) {
    TempFolder folder;
    TAllTask tasks;
    tasks.add(exampleTask());
    projectFile::save(folder.file("p.mvk"), tasks);
    const std::string before = readBytes(folder.file("p.mvk"));

    std::filesystem::permissions(folder.file("p.mvk"), std::filesystem::perms::owner_read);
    tasks.clear();
    try {
        projectFile::save(folder.file("p.mvk"), tasks);
        ADD_FAILURE() << "saved over a read-only file";
    } catch (const IoError& error) {
        EXPECT_EQ(error.what(), platform::systemText("Acc\xc3\xa8s au fichier refus\xc3\xa9"));
    }
    EXPECT_EQ(readBytes(folder.file("p.mvk")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    EXPECT_THROW(projectFile::save(folder.file("no/such/folder.mvk"), tasks), IoError);
    TAllTask none;
    EXPECT_THROW(projectFile::load(folder.file("missing.mvk"), none), IoError);
}
