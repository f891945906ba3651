#include <gtest/gtest.h>

#include <filesystem>

#include "storage/projectFile.h"
#include "storage/taskListRecovery.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

TAllTask listOf(int count) {
    TAllTask tasks;
    for (int i = 0; i < count; ++i) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = "/dvd/" + std::to_string(i) + "/VTS_01_1.VOB";
        tasks.add(task);
    }
    return tasks;
}

class TaskListRecoveryTest : public ::testing::Test {
protected:
    bool exists(const std::string& path) const { return std::filesystem::exists(path); }

    TempFolder folder;
    std::string path = TaskListRecovery::pathBeside(folder.file("marovink.ini"));
};

}  // namespace

TEST_F(TaskListRecoveryTest, KeepsTheListWhileItDiffersFromTheSavedOne) {
    EXPECT_EQ(path, folder.file("marovink.recovery.mvk"));
    TaskListRecovery recovery(path);
    ASSERT_TRUE(recovery.holdsFile());
    EXPECT_FALSE(recovery.unsaved());

    const TAllTask two = listOf(2);
    recovery.listChanged(two);
    EXPECT_TRUE(recovery.unsaved());
    EXPECT_EQ(readBytes(path), projectFile::serialize(two));

    recovery.listSaved(two);
    EXPECT_FALSE(recovery.unsaved());
    EXPECT_FALSE(exists(path));
    recovery.listChanged(two);  // the same list again: nothing to keep
    EXPECT_FALSE(recovery.unsaved());
    EXPECT_FALSE(exists(path));

    // An emptied list is a change like any other.
    recovery.listChanged(TAllTask());
    EXPECT_TRUE(recovery.unsaved());
    EXPECT_EQ(readBytes(path), "0\r\n");
}

TEST_F(TaskListRecoveryTest, OneHolderAtATimeAndTheListOutlivesItsHolder) {
    auto first = std::make_unique<TaskListRecovery>(path);
    first->listChanged(listOf(3));

    TaskListRecovery second(path);
    EXPECT_FALSE(second.holdsFile());
    second.listChanged(listOf(1));
    TAllTask seenBySecond;
    EXPECT_EQ(second.readLeftOver(seenBySecond).kind, TaskListRecovery::LeftOver::Kind::Nothing);
    EXPECT_EQ(seenBySecond.count(), 0);
    EXPECT_EQ(readBytes(path), projectFile::serialize(listOf(3)));

    first.reset();  // the window ends without a save, or crashes
    TaskListRecovery next(path);
    ASSERT_TRUE(next.holdsFile());
    TAllTask restored;
    EXPECT_EQ(next.readLeftOver(restored).kind, TaskListRecovery::LeftOver::Kind::UnsavedList);
    EXPECT_EQ(projectFile::serialize(restored), projectFile::serialize(listOf(3)));
    next.discardLeftOver();
    EXPECT_FALSE(exists(path));
    TAllTask none;
    EXPECT_EQ(next.readLeftOver(none).kind, TaskListRecovery::LeftOver::Kind::Nothing);
}

TEST_F(TaskListRecoveryTest, AnUnreadableFileIsKeptAsideUnderAFreeName) {
    for (const std::string& aside : {path + ".unreadable", path + ".unreadable.2"}) {
        const std::string bytes = "not a count " + aside + "\r\n";
        writeBytes(path, bytes);
        TaskListRecovery recovery(path);
        TAllTask tasks;
        const TaskListRecovery::LeftOver found = recovery.readLeftOver(tasks);
        EXPECT_EQ(found.kind, TaskListRecovery::LeftOver::Kind::Unreadable);
        EXPECT_FALSE(found.error.empty());
        EXPECT_EQ(found.keptAsidePath, aside);
        EXPECT_EQ(readBytes(aside), bytes);
        EXPECT_FALSE(exists(path));
    }
}
