#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runner/state/runEstimate.h"
#include "runner/state/runEvent.h"
#include "runner/state/taskSelection.h"

// Where a run stands, worked out from its events alone: each task's status, stage, step progress
// and first error, the whole run's progress and time left, and what a retry takes. The live run
// and a run read back from its log apply the same events, so the window and the batch retry by
// one rule. A plain value: whoever shares one between threads locks it.
class RunState {
public:
    // A task's status in the run.
    enum class Status { notInRun, waiting, running, done, doneWithErrors, cutShort, notReached };

    struct Task {
        Status status = Status::notInRun;
        // The stage message of the step under way; empty between steps.
        std::string stage;
        // The share of its expected output the tool under way has made; none between tool runs.
        std::optional<int> toolPercent;
        // The first error the task reported.
        std::string firstError;
        // The inputs its stages deleted, in order: each stage deletes its own once its outputs
        // are whole, so a retry can go on after the stages they show finished.
        std::vector<std::string> deletedInputs;
        int toolRunsEnded = 0;
        bool ended = false;
    };

    // The counts a run ends with.
    struct Tally {
        int started = 0;
        int done = 0;
        int withErrors = 0;
        int cutShort = 0;
        int notReached = 0;
    };

    // No run.
    RunState() = default;
    // A run of the chosen tasks of a list of `listCount` tasks; `work` gives each chosen task's
    // work, in the same order, for the estimate, and may be empty where none is needed.
    RunState(int listCount, TaskNumbers chosen, std::vector<TaskWork> work = {},
             bool sideBySide = false);

    // Events of tasks outside the run change nothing.
    void apply(const RunEvent& event);

    bool isRunning() const { return running_; }
    bool wasAborted() const { return aborted_; }
    bool stopsAfterRunningTasks() const { return stopsAfterRunning_; }
    bool isSideBySide() const { return sideBySide_; }
    const TaskNumbers& chosen() const { return chosen_; }
    int listCount() const { return static_cast<int>(tasks_.size()); }
    // A task outside the list is not in the run.
    const Task& task(int taskIndex) const;
    Tally tally() const;
    // The run's tasks that did not finish without an error: those that reported one, were cut
    // short, were never reached, or were still running where the record of the run stops.
    TaskNumbers unfinished() const;
    // The whole run's progress, the task under way and, once a task's first stage has ended, the
    // time left, with `elapsedSeconds` since the run started. Each tool run of a task counts for
    // an equal share of its source bytes, the run under way for the share its output has
    // reached, and a task that has ended, however it ended, for all of them.
    RunPosition position(double elapsedSeconds) const;
    // The stage message the status line shows: that of the running task furthest from its end,
    // or between two of its steps another running task's.
    std::string shownStage() const;
    // The gauge of one task at a time: the progress of the tool under way.
    std::optional<int> toolPercent() const;
    // The share of a running task's work done, from 0 to 100; none for a task that is not
    // running.
    std::optional<int> taskPercent(int taskIndex) const;

private:
    void applyToTask(const RunEvent& event, int place, Task& task);
    Task* taskAt(int taskIndex);
    // The task's place among the run's tasks, or -1.
    int placeOf(int taskIndex) const;
    double shareDone(std::size_t place) const;

    std::vector<Task> tasks_;
    TaskNumbers chosen_;
    std::vector<TaskWork> work_;
    bool sideBySide_ = false;
    bool running_ = false;
    bool aborted_ = false;
    bool stopsAfterRunning_ = false;
    int latestStarted_ = -1;  // by its place among the run's tasks
    int latestStep_ = -1;     // the task whose step started last
    bool firstStageEnded_ = false;
};

// How a run ended: "4 tasks: 3 done, 1 with errors", each count after the first only when not 0.
std::string runSummary(const RunState::Tally& tally);
