#include <gtest/gtest.h>

#include "files/systemEncoding.h"
#include "runner/plan/taskPlan.h"
#include "runner/state/runState.h"
#include "storage/settings.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

RunEvent toolStart(int task) {
    return RunEvent::stepStart(task, "stage", "tool");
}

}  // namespace

TEST(RunStateTest, TimeLeftFollowsTheSourceBytesOnceAStageHasEnded) {
    // A demultiplexing task of 1000 bytes in five tool runs, then one of 3000 bytes.
    RunState state(2, {0, 1}, {{1000, 5, 2}, {3000, 1, 1}});
    EXPECT_EQ(runPositionText(state.position(0)), "");

    state.apply(RunEvent::taskStart(0));
    state.apply(toolStart(0));
    state.apply(RunEvent::progressOf(0, 50));
    RunPosition position = state.position(10);
    EXPECT_EQ(position.percent, 2);  // half of a fifth of 1000 bytes, of 4000
    EXPECT_FALSE(position.minutesLeft);
    state.apply(RunEvent::toolEnd(0, 0));
    state.apply(toolStart(0));
    EXPECT_FALSE(state.position(20).minutesLeft) << "the first stage has two tool runs";
    state.apply(RunEvent::toolEnd(0, 0));
    state.apply(RunEvent::done(0, "a.VOB deleted "));  // no tool run
    position = state.position(20);
    EXPECT_EQ(position.percent, 10);
    EXPECT_EQ(position.minutesLeft, 3);  // 400 bytes in 20 s, 3600 to come
    // The dash is in the system's code page, as the program's other texts.
    EXPECT_EQ(runPositionText(position),
              platform::systemText(" \xe2\x80\x94 task 1 of 2, about 3 min left"));

    // The first task ends early: its bytes are no longer to come.
    state.apply(RunEvent::taskEnd(0, true));
    state.apply(RunEvent::taskStart(1));
    position = state.position(20);
    EXPECT_EQ(position.percent, 25);
    EXPECT_EQ(position.minutesLeft, 1);
    EXPECT_EQ(runCaption(position), platform::systemText("25 % \xe2\x80\x94 Marovink"));
    state.apply(toolStart(1));
    state.apply(RunEvent::progressOf(1, 250));
    EXPECT_EQ(state.position(20).percent, 100);
}

TEST(RunStateTest, SideBySideTheRunningTasksCountAndTheFurthestFromItsEndIsNamed) {
    RunState state(3, {0, 1, 2}, {{1000, 2, 2}, {1000, 2, 2}, {2000, 2, 2}}, true);
    for (const int task : {0, 1}) {
        state.apply(RunEvent::taskStart(task));
        state.apply(toolStart(task));
    }
    state.apply(RunEvent::progressOf(0, 50));
    state.apply(RunEvent::progressOf(1, 20));
    RunPosition position = state.position(0);
    EXPECT_EQ(position.slowest, 1);
    EXPECT_EQ(position.percent, 8);  // (250 + 100) of 4000 bytes
    state.apply(RunEvent::toolEnd(0, 0));
    state.apply(toolStart(0));
    state.apply(RunEvent::toolEnd(0, 0));
    state.apply(RunEvent::taskEnd(0, false));
    position = state.position(60);
    EXPECT_EQ(position.minutesLeft, 3);  // 1100 bytes in a minute, 2900 to come
    EXPECT_EQ(runPositionText(position),
              platform::systemText(" \xe2\x80\x94 1 task running, 1 of 3 ended, about 3 min left"));
    state.apply(RunEvent::taskStart(2));
    EXPECT_EQ(
        runPositionText(state.position(60)),
        platform::systemText(" \xe2\x80\x94 2 tasks running, 1 of 3 ended, about 3 min left"));
}

namespace {

TaskWork workOfTask(const Ttask& task) {
    return workOf(plan::planTask(task, surveyedStreams(task), SettingsValues{}));
}

}  // namespace

TEST(RunEstimateTest, TheWorkOfATaskStartsFromItsFirstStage) {
    TempFolder folder;
    TaskRef task = taskInFolder(folder.path(), "a", 5000);
    writeBytes(task->m2vFilePath, std::string(700, 'v'));
    writeBytes(task->ac3FilePath, std::string(300, 'a'));
    TaskWork work = workOfTask(*task);
    EXPECT_EQ(work.sourceBytes, 5000);
    EXPECT_EQ(work.toolRuns, 5);
    EXPECT_EQ(work.firstStageRuns, 2);
    task->doDemux = false;
    work = workOfTask(*task);
    EXPECT_EQ(work.sourceBytes, 1000);
    EXPECT_EQ(work.toolRuns, 3);
    EXPECT_EQ(work.firstStageRuns, 1);
    task->doRemux = false;
    work = workOfTask(*task);  // the remultiplexed VOB is missing
    EXPECT_EQ(work.sourceBytes, 0);
    EXPECT_EQ(work.firstStageRuns, 2);
}
