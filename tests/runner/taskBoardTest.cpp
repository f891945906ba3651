#include <gtest/gtest.h>

#include "runner/taskBoard.h"

namespace {

class TaskBoardTest : public ::testing::Test {
protected:
    TaskBoardTest() {
        for (int i = 0; i < 3; ++i) {
            list.add(std::make_shared<Ttask>());
        }
        board.listRebuilt(list);
    }

    void start(const TaskNumbers& chosen) { board.runStarted(list, chosen); }

    // A letter for each row's mark, in the order of TaskBoard::Mark: - none, r running, d done,
    // f failed; then one for each task's status in the order of TaskBoard::Status.
    std::string marks() const {
        std::string marks;
        for (int row = 0; row < board.rowCount(); ++row) {
            marks += "-rdf"[static_cast<int>(board.rowMark(row))];
        }
        return marks;
    }
    std::string statuses(int count) const {
        std::string statuses;
        for (int task = 0; task < count; ++task) {
            statuses += "xwrdecn"[static_cast<int>(board.taskStatus(task))];
        }
        return statuses;
    }

    TAllTask list;
    TaskBoard board;
};

}  // namespace

TEST_F(TaskBoardTest, HowARunEndsDecidesEachTasksStatusMarkAndRetry) {
    // The run's tasks, the one that fails, the one an abort or a failure cuts short, ending the
    // run (-1: it went through); then each task's status (x not in the run, d done, e done with
    // errors, c cut short, n never reached), each row's mark and the rows a retry takes.
    struct Row {
        TaskNumbers chosen;
        int failing, endsIn;
        std::string statuses, marks;
        TaskNumbers retry;
    };
    const Row table[] = {
        {{0, 1, 2}, 1, -1, "ded", "dfd", {1}},      {{0, 1, 2}, -1, 0, "cnn", "f--", {0, 1, 2}},
        {{0, 1, 2}, 0, 1, "ecn", "ff-", {0, 1, 2}}, {{0, 2}, -1, -1, "dxd", "d-d", {}},
        {{1, 2}, 1, 1, "xen", "-f-", {1, 2}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.statuses);
        board.listRebuilt(list);
        start(row.chosen);
        EXPECT_TRUE(board.isRunning());
        for (const int task : row.chosen) {
            board.taskStarted(task);
            EXPECT_EQ(marks()[static_cast<std::size_t>(task)], 'r');
            if (task == row.failing) {
                board.taskFailed(task);
            }
            board.taskEnded(task, task == row.endsIn);
            if (task == row.endsIn) {
                break;
            }
        }
        board.runEnded();
        EXPECT_FALSE(board.isRunning());
        EXPECT_EQ(statuses(3), row.statuses);
        EXPECT_EQ(marks(), row.marks);
        EXPECT_EQ(board.rowsToRetry(), row.retry);
    }
}

TEST_F(TaskBoardTest, TheRunCountsWhatItStartedFailedAndNeverReached) {
    start({0, 1, 2});
    board.taskStarted(0);
    board.taskFailed(0);
    board.taskFailed(0);
    board.taskEnded(0, false);
    board.taskStarted(1);
    board.abortRequested();
    board.taskEnded(1, true);
    board.runEnded();
    const TaskBoard::Tally tally = board.tally();
    EXPECT_EQ(tally.started, 2);
    EXPECT_EQ(tally.withErrors, 1);
    EXPECT_EQ(tally.notReached, 1);
    EXPECT_TRUE(board.wasAborted());
}

TEST_F(TaskBoardTest, MarksFollowTheirTasksAndARebuildClearsThem) {
    start({0, 1, 2});
    board.taskStarted(0);
    board.taskFailed(0);
    // The failing task leaves the list: its mark must not land on the row that now follows.
    list.removeAt(0);
    board.listRebuilt(list);
    EXPECT_EQ(marks(), "--");
    board.taskEnded(0, false);
    for (const int task : {1, 2}) {
        board.taskStarted(task);
        board.taskEnded(task, false);
    }
    board.runEnded();
    EXPECT_EQ(marks(), "dd");
    // The failed task is gone from the list: nothing left to retry.
    EXPECT_EQ(board.rowsToRetry(), TaskNumbers());

    // A new task is never marked by a run that did not take it.
    start({0, 1});
    list.clear();
    list.add(std::make_shared<Ttask>());
    board.listRebuilt(list);
    board.taskStarted(0);
    board.taskEnded(0, false);
    board.runEnded();
    EXPECT_EQ(marks(), "-");
}

TEST_F(TaskBoardTest, TheStatusLineAndTheGaugeFollowTheSteps) {
    const auto line = [this] {
        const TaskBoard::StatusLine status = board.statusLine();
        return (status.stopping ? "stopping" : status.stage) + "|" + status.position;
    };
    start({0, 1});
    EXPECT_EQ(line(), "|");
    EXPECT_EQ(board.gauge(), std::nullopt);
    RunPosition position;
    position.task = 1;
    position.taskCount = 2;
    board.taskStarted(0);
    board.positionChanged(position);
    EXPECT_EQ(line(), "|");  // no stage: the line stays empty

    board.stepStarted(0, "Audio stream DEMUX in progress...\r\n    bbdmux x");
    EXPECT_EQ(line(), "Audio stream DEMUX in progress...|");  // until its own position comes
    EXPECT_EQ(board.gauge(), 0);
    board.positionChanged(position);
    board.progress(40);
    const std::string where = runPositionText(position);
    EXPECT_FALSE(where.empty());
    EXPECT_EQ(line(), "Audio stream DEMUX in progress...|" + where);
    EXPECT_EQ(board.gauge(), 40);

    board.stepDone(0);
    board.progress(50);  // a late measurement shows no gauge again
    EXPECT_EQ(line(), "|");
    EXPECT_EQ(board.gauge(), std::nullopt);
    board.stepStarted(0, "no line end");
    EXPECT_EQ(line(), "|");

    board.abortRequested();
    board.positionChanged(position);
    EXPECT_EQ(line(), "stopping|" + where);
    board.taskEnded(0, true);
    board.runEnded();
    EXPECT_EQ(line(), "|");
    EXPECT_EQ(board.position(), std::nullopt);
}

TEST_F(TaskBoardTest, SideBySideTheLineShowsTheSlowestTaskAndTheGaugeTheWholeRun) {
    board.runStarted(list, {0, 1, 2}, true);
    EXPECT_EQ(board.gauge(), 0);
    board.taskStarted(0);
    board.taskStarted(2);
    EXPECT_EQ(marks(), "r-r");
    board.stepStarted(0, "REMUX in progress...\r\n    mplex");
    board.stepStarted(2, "Video stream DEMUX in progress...\r\n    bbdmux");
    RunPosition position;
    position.task = 3;
    position.taskCount = 3;
    position.sideBySide = true;
    position.running = 2;
    position.percent = 37;
    position.slowest = 2;  // the run's third task: task 2
    board.positionChanged(position);
    board.progress(90);  // a step's own progress is not the run's
    EXPECT_EQ(board.statusLine().stage, "Video stream DEMUX in progress...");
    EXPECT_EQ(board.statusLine().position, runPositionText(position));
    EXPECT_EQ(board.gauge(), 37);
    // Between two steps of the slowest task, another task's stage.
    board.stepDone(2);
    EXPECT_EQ(board.statusLine().stage, "REMUX in progress...");
    board.runEnded();
    EXPECT_EQ(board.gauge(), std::nullopt);
}

TEST_F(TaskBoardTest, CommandsFollowTheRowsTheSelectionAndTheRun) {
    using Enabled = std::vector<bool>;  // Start, Abort, Modify and Remove, Clear All, Retry
    const auto commands = [](const TaskBoard& shown, int selected) {
        const TaskBoard::Commands c = shown.commands(selected);
        return Enabled{c.start, c.abort, c.editSelected, c.clear, c.retry};
    };
    EXPECT_EQ(commands(TaskBoard(), -1), (Enabled{false, false, false, false, false}));
    EXPECT_EQ(commands(board, -1), (Enabled{true, false, false, true, false}));
    EXPECT_EQ(commands(board, 1), (Enabled{true, false, true, true, false}));

    start({1});
    board.taskStarted(1);
    EXPECT_EQ(commands(board, 1), (Enabled{false, true, false, true, false}));  // the running row
    EXPECT_EQ(commands(board, 0), (Enabled{false, true, true, true, false}));
    board.taskEnded(1, true);
    board.runEnded();
    EXPECT_EQ(commands(board, 1), (Enabled{true, false, true, true, true}));
    // Once the list no longer holds what the run left, there is nothing to retry.
    list.removeAt(1);
    board.listRebuilt(list);
    EXPECT_EQ(commands(board, -1), (Enabled{true, false, false, true, false}));
}
