#include <gtest/gtest.h>

#include "files/systemEncoding.h"
#include "runner/plan/taskPlan.h"
#include "runner/runEstimate.h"
#include "storage/settings.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

TEST(RunEstimateTest, TimeLeftFollowsTheSourceBytesOnceAStageHasEnded) {
    auto now = std::chrono::steady_clock::time_point{};
    // A demultiplexing task of 1000 bytes in five tool runs, then one of 3000 bytes.
    RunEstimate estimate({{1000, 5, 2}, {3000, 1, 1}}, false, [&now] { return now; });
    EXPECT_EQ(runPositionText(estimate.position()), "");

    estimate.taskStarted(0);
    estimate.toolRunStarted(0);
    now += 10s;
    estimate.toolRunProgress(0, 50);
    RunPosition position = estimate.position();
    EXPECT_EQ(position.percent, 2);  // half of a fifth of 1000 bytes, of 4000
    EXPECT_FALSE(position.minutesLeft);
    estimate.toolRunEnded(0);
    estimate.toolRunStarted(0);
    now += 10s;
    EXPECT_FALSE(estimate.position().minutesLeft) << "the first stage has two tool runs";
    estimate.toolRunEnded(0);
    estimate.toolRunEnded(0);  // a deletion's or the DVD check's step done: no tool run
    position = estimate.position();
    EXPECT_EQ(position.percent, 10);
    EXPECT_EQ(position.minutesLeft, 3);  // 400 bytes in 20 s, 3600 to come
    // The dash is in the system's code page, as the program's other texts.
    EXPECT_EQ(runPositionText(position),
              platform::systemText(" \xe2\x80\x94 task 1 of 2, about 3 min left"));

    // The first task ends early: its bytes are no longer to come.
    estimate.taskEnded(0);
    estimate.taskStarted(1);
    position = estimate.position();
    EXPECT_EQ(position.percent, 25);
    EXPECT_EQ(position.minutesLeft, 1);
    EXPECT_EQ(runCaption(position), platform::systemText("25 % \xe2\x80\x94 Marovink"));
    estimate.toolRunStarted(1);
    estimate.toolRunProgress(1, 250);
    EXPECT_EQ(estimate.position().percent, 100);
}

TEST(RunEstimateTest, SideBySideTheRunningTasksCountAndTheFurthestFromItsEndIsNamed) {
    auto now = std::chrono::steady_clock::time_point{};
    RunEstimate estimate({{1000, 2, 2}, {1000, 2, 2}, {2000, 2, 2}}, true, [&now] { return now; });
    estimate.taskStarted(0);
    estimate.taskStarted(1);
    estimate.toolRunStarted(0);
    estimate.toolRunStarted(1);
    estimate.toolRunProgress(0, 50);
    estimate.toolRunProgress(1, 20);
    RunPosition position = estimate.position();
    EXPECT_EQ(position.slowest, 1);
    EXPECT_EQ(position.percent, 8);  // (250 + 100) of 4000 bytes
    now += 60s;
    estimate.toolRunEnded(0);
    estimate.toolRunStarted(0);
    estimate.toolRunEnded(0);
    estimate.taskEnded(0);
    position = estimate.position();
    EXPECT_EQ(position.minutesLeft, 3);  // 1100 bytes in a minute, 2900 to come
    EXPECT_EQ(runPositionText(position),
              platform::systemText(" \xe2\x80\x94 1 task running, 1 of 3 ended, about 3 min left"));
    estimate.taskStarted(2);
    EXPECT_EQ(
        runPositionText(estimate.position()),
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
