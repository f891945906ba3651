#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "runner/runEstimate.h"
#include "runner/taskSelection.h"
#include "task/task.h"

// What the front ends show of a task list and its latest run: each row's mark, the stage under
// way, the gauge, where the run stands, and what a retry takes. The run session reports into it;
// a front end only displays it. Safe to call from several threads: the run reports from its own.
class TaskBoard {
public:
    // A task's status in the latest run.
    enum class Status { notInRun, waiting, running, done, doneWithErrors, cutShort, notReached };
    // The mark a row shows. A rebuild of the list clears every mark; only a run's events set them.
    enum class Mark { none, running, done, failed };

    // The status line: the stage message (or, once an abort has been asked for, the notice that
    // the run is stopping) followed by where the run stands; empty without a stage or notice.
    struct StatusLine {
        std::string stage;
        bool stopping = false;
        std::string position;
    };

    // The counts a run ends with.
    struct Tally {
        int started = 0;
        int withErrors = 0;
        int notReached = 0;
    };

    // What the commands allow.
    struct Commands {
        bool start = false;
        bool abort = false;
        // Modify and Remove: a row is selected and it is not the running one.
        bool editSelected = false;
        bool clear = false;
        bool retry = false;
    };

    // The list as it now stands, each row unmarked.
    void listRebuilt(const TAllTask& list);
    // The run of the chosen tasks starts on its own copy of the list: its events name a task by
    // its number in that copy, which the list may no longer match. With several tasks side by
    // side, the gauge shows the whole run and the status line the task furthest from its end.
    void runStarted(const TAllTask& list, const TaskNumbers& chosen, bool sideBySide = false);
    void taskStarted(int taskIndex);
    // The stage message is the part of the step's text before its first CR LF.
    void stepStarted(int taskIndex, const std::string& text);
    void stepDone(int taskIndex);
    void taskFailed(int taskIndex);
    // The step's progress.
    void progress(int percentage);
    void positionChanged(const RunPosition& position);
    void abortRequested();
    // After the task's last event: whether an abort or a failure cut it short.
    void taskEnded(int taskIndex, bool cutShort);
    // The end of the run, after each of its tasks has ended.
    void runEnded();

    bool isRunning() const;
    bool wasAborted() const;
    // Whether the latest run works on several tasks at once.
    bool isSideBySide() const;
    int rowCount() const;
    Mark rowMark(int row) const;
    Status taskStatus(int taskIndex) const;
    Tally tally() const;
    // The rows, in the list as it now stands, of the latest run's tasks that reported an error,
    // were cut short or were never reached.
    TaskNumbers rowsToRetry() const;
    StatusLine statusLine() const;
    // With that row selected; -1 for none.
    Commands commands(int selectedRow) const;
    // The gauge's percentage: that of the step under way, or with several tasks side by side
    // that of the whole run while it lasts.
    std::optional<int> gauge() const;
    // Where the run stands, once it has said so.
    std::optional<RunPosition> position() const;

private:
    struct RunTask {
        TaskRef task;
        Status status;
    };
    struct Row {
        TaskRef task;
        Mark mark;
    };

    void setStatus(int taskIndex, Status status, Mark mark);
    std::string shownStage() const;

    mutable std::mutex mutex_;
    std::vector<Row> rows_;
    std::vector<RunTask> runTasks_;
    TaskNumbers chosen_;
    bool sideBySide_ = false;
    bool running_ = false;
    bool aborted_ = false;
    // The stage message of each task with a step under way.
    std::map<int, std::string> stages_;
    std::optional<int> stepGauge_;
    std::optional<RunPosition> position_;
    bool positionInLine_ = false;
};
