#include <gtest/gtest.h>

#include "task/task.h"

namespace {

TaskRef taskFor(const std::string& source) {
    auto task = std::make_shared<Ttask>();
    task->origVobFilePath = source;
    return task;
}

std::vector<std::string> sourcesOf(const TAllTask& list) {
    std::vector<std::string> sources;
    for (int i = 0; i < list.count(); ++i) {
        sources.push_back(list.taskAt(i)->origVobFilePath);
    }
    return sources;
}

}  // namespace

TEST(Ttask, NewTaskRunsAllStagesAndDeletesNothing) {
    const Ttask task;
    EXPECT_TRUE(task.doDemux && task.doRemux && task.doAuthor);
    EXPECT_FALSE(task.deleteOrigVob || task.deleteStreams || task.deleteVob);
    for (const std::string* text : {&task.origVobFilePath, &task.m2vFilePath, &task.ac3FilePath,
                                    &task.vobFilePath, &task.dvdFolderPath, &task.chapterList}) {
        EXPECT_TRUE(text->empty());
    }
}

TEST(TAllTask, RemoveAtKeepsTheOrderOfTheOthers) {
    const std::vector<std::pair<int, std::vector<std::string>>> cases{
        {0, {"B", "C"}}, {1, {"A", "C"}}, {2, {"A", "B"}}};
    for (const auto& [index, expected] : cases) {
        TAllTask list;
        for (const char* name : {"A", "B", "C"}) {
            list.add(taskFor(name));
        }
        list.removeAt(index);
        EXPECT_EQ(sourcesOf(list), expected) << "removeAt(" << index << ")";
    }
}

TEST(TAllTask, AddClearAndBadIndexes) {
    TAllTask list;
    EXPECT_EQ(list.count(), 0);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    list.add(taskFor("A"));
    EXPECT_EQ(sourcesOf(list), std::vector<std::string>{"A"});
    EXPECT_THROW(list.taskAt(1), std::out_of_range);
    EXPECT_THROW(list.removeAt(-1), std::out_of_range);
    EXPECT_THROW(list.add(nullptr), std::invalid_argument);
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST(TAllTask, RemovedOrClearedTaskStaysIntactForItsHolder) {
    TAllTask list;
    list.add(taskFor("A"));
    list.add(taskFor("B"));
    TaskRef heldByEditor = list.taskAt(0);
    TaskRef heldByRun = list.taskAt(1);
    list.removeAt(0);
    list.clear();
    EXPECT_EQ(heldByEditor->origVobFilePath, "A");
    heldByEditor->chapterList = "00:05:00";
    EXPECT_EQ(heldByEditor->chapterList, "00:05:00");
    EXPECT_EQ(heldByRun->origVobFilePath, "B");
}

TEST(TAllTask, SnapshotIsUntouchedByLaterEdits) {
    TAllTask list;
    list.add(taskFor("A"));
    const std::vector<Ttask> copies = list.snapshot();
    list.taskAt(0)->origVobFilePath = "changed";
    list.clear();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].origVobFilePath, "A");
}
