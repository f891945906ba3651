#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "runner/state/runState.h"
#include "runner/state/taskSelection.h"
#include "task/task.h"

// What the front ends show of a task list and its latest run: each row's mark, the stage under
// way, the gauge, where the run stands, and what a retry takes. The run session reports into it;
// a front end only displays it. Safe to call from several threads: the run reports from its own.
class TaskBoard {
public:
    using Status = RunState::Status;
    // The mark a row shows. A rebuild of the list clears every mark; only a run's events set them.
    enum class Mark { none, running, done, failed, cutShort };

    // The status line: the stage message (or, once an abort has been asked for, the notice that
    // the run is stopping) followed by where the run stands; empty without a stage or notice.
    struct StatusLine {
        std::string stage;
        bool stopping = false;
        // Told to stop once the running tasks have ended: the notice that no further task starts.
        bool finishing = false;
        std::string position;
        // Once a run has ended, and until the next starts: how its tasks ended.
        std::string summary;
    };

    using Tally = RunState::Tally;

    // What the commands allow.
    struct Commands {
        bool start = false;
        bool abort = false;
        // Modify and Remove: a row is selected and it is not the running one.
        bool editSelected = false;
        bool clear = false;
        bool retry = false;
        // During a run not yet told to stop.
        bool stopAfterRunning = false;
    };

    // The list as it now stands, each row unmarked.
    void listRebuilt(const TAllTask& list);
    // The run of the chosen tasks starts on its own copy of the list: its events name a task by
    // its number in that copy, which the list may no longer match. `work` weighs each chosen
    // task for the estimate. With several tasks side by side, the gauge shows the whole run and
    // the status line the task furthest from its end.
    void runStarted(const TAllTask& list, const TaskNumbers& chosen,
                    std::vector<TaskWork> work = {}, bool sideBySide = false);
    // One of the run's events, `elapsedSeconds` after the run started; returns where the run
    // now stands.
    RunPosition apply(const RunEvent& event, double elapsedSeconds = 0);

    bool isRunning() const;
    bool wasAborted() const;
    // Whether the latest run works on several tasks at once.
    bool isSideBySide() const;
    int rowCount() const;
    Mark rowMark(int row) const;
    // The share of its work the row's task has done while it runs.
    std::optional<int> rowPercent(int row) const;
    // What the row's task reported first in the latest run: its first error, or that the run
    // stopped before it ended; empty for none.
    std::string rowNote(int row) const;
    Status taskStatus(int taskIndex) const;
    Tally tally() const;
    // The rows, in the list as it now stands, of the latest run's tasks that did not finish.
    TaskNumbers rowsToRetry() const;
    // Of those rows, by row, the inputs the latest run deleted: a retry goes on after the
    // stages that finished.
    std::map<int, std::vector<std::string>> inputsDeletedOfRowsToRetry() const;
    StatusLine statusLine() const;
    // With that row selected; -1 for none.
    Commands commands(int selectedRow) const;
    // The gauge's percentage: that of the tool under way, or with several tasks side by side
    // that of the whole run while it lasts.
    std::optional<int> gauge() const;
    // Where the run stands, once it has said so.
    std::optional<RunPosition> position() const;

private:
    struct Row {
        TaskRef task;
        Mark mark;
    };

    // Under the lock: the latest run's task on that row, by its number in that run, or -1.
    int runTaskOfRow(int row) const;
    // Under the lock: the row of each of the latest run's unfinished tasks still in the list,
    // with the task's number in that run.
    std::map<int, int> rowsOfUnfinishedTasks() const;

    mutable std::mutex mutex_;
    std::vector<Row> rows_;
    // Each task of the list the run started on, by its number in that list, and the number of
    // each: rows find their run's task by identity, since the list may have changed since.
    std::vector<TaskRef> runTasks_;
    std::unordered_map<const Ttask*, int> runNumbers_;
    RunState state_;
    std::optional<RunPosition> position_;
};
