#include <gtest/gtest.h>

#include "files/systemEncoding.h"
#include "runner/state/taskBoard.h"

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
    // f failed, c cut short; then one for each task's status in the order of TaskBoard::Status.
    std::string marks() const {
        std::string marks;
        for (int row = 0; row < board.rowCount(); ++row) {
            marks += "-rdfc"[static_cast<int>(board.rowMark(row))];
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
        {{0, 1, 2}, 1, -1, "ded", "dfd", {1}},      {{0, 1, 2}, -1, 0, "cnn", "c--", {0, 1, 2}},
        {{0, 1, 2}, 0, 1, "ecn", "fc-", {0, 1, 2}}, {{0, 2}, -1, -1, "dxd", "d-d", {}},
        {{1, 2}, 1, 1, "xen", "-f-", {1, 2}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.statuses);
        board.listRebuilt(list);
        start(row.chosen);
        EXPECT_TRUE(board.isRunning());
        for (const int task : row.chosen) {
            board.apply(RunEvent::taskStart(task));
            EXPECT_EQ(marks()[static_cast<std::size_t>(task)], 'r');
            if (task == row.failing) {
                board.apply(RunEvent::error(task, "error"));
            }
            board.apply(RunEvent::taskEnd(task, task == row.endsIn));
            if (task == row.endsIn) {
                break;
            }
        }
        board.apply(RunEvent::runEnd());
        EXPECT_FALSE(board.isRunning());
        EXPECT_EQ(statuses(3), row.statuses);
        EXPECT_EQ(marks(), row.marks);
        EXPECT_EQ(board.rowsToRetry(), row.retry);
    }
}

TEST_F(TaskBoardTest, TheRunCountsWhatItStartedFailedAndNeverReached) {
    start({0, 1, 2});
    board.apply(RunEvent::taskStart(0));
    board.apply(RunEvent::error(0, "error"));
    board.apply(RunEvent::error(0, "error"));
    board.apply(RunEvent::taskEnd(0, false));
    board.apply(RunEvent::taskStart(1));
    board.apply(RunEvent::abort());
    board.apply(RunEvent::taskEnd(1, true));
    board.apply(RunEvent::runEnd());
    const TaskBoard::Tally tally = board.tally();
    EXPECT_EQ(tally.started, 2);
    EXPECT_EQ(tally.withErrors, 1);
    EXPECT_EQ(tally.notReached, 1);
    EXPECT_TRUE(board.wasAborted());
    EXPECT_EQ(board.statusLine().summary,
              "3 tasks: 0 done, 1 with errors, 1 cut short, 1 not started");
}

TEST_F(TaskBoardTest, MarksFollowTheirTasksAndARebuildClearsThem) {
    start({0, 1, 2});
    board.apply(RunEvent::taskStart(0));
    board.apply(RunEvent::error(0, "error"));
    // The failing task leaves the list: its mark must not land on the row that now follows.
    list.removeAt(0);
    board.listRebuilt(list);
    EXPECT_EQ(marks(), "--");
    board.apply(RunEvent::taskEnd(0, false));
    for (const int task : {1, 2}) {
        board.apply(RunEvent::taskStart(task));
        board.apply(RunEvent::taskEnd(task, false));
    }
    board.apply(RunEvent::runEnd());
    EXPECT_EQ(marks(), "dd");
    // The failed task is gone from the list: nothing left to retry.
    EXPECT_EQ(board.rowsToRetry(), TaskNumbers());

    // A new task is never marked by a run that did not take it.
    start({0, 1});
    list.clear();
    list.add(std::make_shared<Ttask>());
    board.listRebuilt(list);
    board.apply(RunEvent::taskStart(0));
    board.apply(RunEvent::taskEnd(0, false));
    board.apply(RunEvent::runEnd());
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
    board.apply(RunEvent::taskStart(0));
    EXPECT_EQ(line(), "|");  // no stage: the line stays empty

    board.apply(RunEvent::stepStart(0, "Audio stream DEMUX in progress...", "bbdmux x"));
    const std::string where = runPositionText(board.position().value());
    EXPECT_EQ(where, platform::systemText(" \xe2\x80\x94 task 1 of 2"));
    EXPECT_EQ(line(), "Audio stream DEMUX in progress...|" + where);
    EXPECT_EQ(board.gauge(), 0);
    board.apply(RunEvent::progressOf(0, 40));
    EXPECT_EQ(board.gauge(), 40);

    board.apply(RunEvent::toolEnd(0, 0));
    board.apply(RunEvent::progressOf(0, 50));  // a late measurement shows no gauge again
    EXPECT_EQ(line(), "|");
    EXPECT_EQ(board.gauge(), std::nullopt);

    board.apply(RunEvent::abort());
    EXPECT_EQ(line(), "stopping|" + where);
    board.apply(RunEvent::taskEnd(0, true));
    board.apply(RunEvent::runEnd());
    EXPECT_EQ(line(), "|");
    EXPECT_EQ(board.position(), std::nullopt);
}

TEST_F(TaskBoardTest, SideBySideTheLineShowsTheSlowestTaskAndTheGaugeTheWholeRun) {
    board.runStarted(list, {0, 1, 2}, {{1000, 2, 1}, {1000, 2, 1}, {1000, 4, 1}}, true);
    EXPECT_EQ(board.gauge(), 0);
    board.apply(RunEvent::taskStart(0));
    board.apply(RunEvent::taskStart(2));
    EXPECT_EQ(marks(), "r-r");
    board.apply(RunEvent::stepStart(0, "REMUX in progress...", "mplex"));
    board.apply(RunEvent::stepStart(2, "Video stream DEMUX in progress...", "bbdmux"));
    board.apply(RunEvent::progressOf(0, 90));
    board.apply(RunEvent::progressOf(2, 20));
    // Task 2 is the furthest from its end; the gauge shows the whole run, not a step.
    EXPECT_EQ(board.statusLine().stage, "Video stream DEMUX in progress...");
    EXPECT_EQ(board.statusLine().position, runPositionText(board.position().value()));
    EXPECT_EQ(board.gauge(), 16);  // (450 + 50) of 3000 bytes
    // Between two steps of the slowest task, another task's stage.
    board.apply(RunEvent::toolEnd(2, 0));
    EXPECT_EQ(board.position()->slowest, 2);
    EXPECT_EQ(board.statusLine().stage, "REMUX in progress...");
    board.apply(RunEvent::runEnd());
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
    board.apply(RunEvent::taskStart(1));
    EXPECT_EQ(commands(board, 1), (Enabled{false, true, false, true, false}));  // the running row
    EXPECT_EQ(commands(board, 0), (Enabled{false, true, true, true, false}));
    board.apply(RunEvent::taskEnd(1, true));
    board.apply(RunEvent::runEnd());
    EXPECT_EQ(commands(board, 1), (Enabled{true, false, true, true, true}));
    // Once the list no longer holds what the run left, there is nothing to retry.
    list.removeAt(1);
    board.listRebuilt(list);
    EXPECT_EQ(commands(board, -1), (Enabled{true, false, false, true, false}));
}
