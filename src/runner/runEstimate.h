#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace plan {
struct TaskPlan;
}

// Where a run stands: the task under way among the run's tasks (or, with several at once, how
// many run and have ended), the share of its work done, and the time still to come.
struct RunPosition {
    int task = 0;  // from 1, the latest task started; 0 before the first task starts
    int taskCount = 0;
    int percent = 0;
    std::optional<int> minutesLeft;  // none before the first stage of the run has ended
    // With several tasks at once: how many run now and how many have ended, and the running task
    // furthest from its end, by its place among the run's tasks (-1 when none runs).
    bool sideBySide = false;
    int running = 0;
    int ended = 0;
    int slowest = -1;
};

// The work of one task: the bytes its first stage reads, its tool runs, and how many of those
// make its first stage.
struct TaskWork {
    double sourceBytes = 0;
    int toolRuns = 0;
    int firstStageRuns = 0;
};

// Measures the inputs of a task's plan as they are now.
TaskWork workOf(const plan::TaskPlan& plan);

// Estimates a run's progress and time left from the bytes of source processed against those
// still to come: each tool run of a task counts for an equal share of its source bytes, the run
// under way for the share its progress monitor reports, and a task that has ended, however it
// ended, for all of them. Each call names the task by its place among the run's tasks. Safe to
// call from several threads.
class RunEstimate {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The run starts now.
    explicit RunEstimate(std::vector<TaskWork> tasks, bool sideBySide = false,
                         Clock now = std::chrono::steady_clock::now);

    void taskStarted(int runTask);
    void toolRunStarted(int runTask);
    void toolRunProgress(int runTask, int percentage);
    // Also after a step that ran no tool, which changes nothing.
    void toolRunEnded(int runTask);
    void taskEnded(int runTask);

    RunPosition position() const;

private:
    struct TaskState {
        bool started = false;
        bool ended = false;
        int runsEnded = 0;
        int runPercentage = -1;  // of the tool run under way; -1 when none is
    };

    // The share of the task's work done, from 0 to 1.
    double shareDone(std::size_t runTask) const;
    TaskState* stateOf(int runTask);

    const std::vector<TaskWork> tasks_;
    const bool sideBySide_;
    const Clock now_;
    const std::chrono::steady_clock::time_point start_;
    double totalBytes_ = 0;
    mutable std::mutex mutex_;
    std::vector<TaskState> states_;
    int latestStarted_ = -1;
    bool stageEnded_ = false;
};

// The status line's addition for a position: " — task 2 of 10, about 3 min left", or with several
// tasks at once " — 2 tasks running, 3 of 10 ended, about 3 min left"; without the time left
// while there is no estimate; empty before the first task.
std::string runPositionText(const RunPosition& position);
// The window caption during a run: "37 % — Marovink".
std::string runCaption(const RunPosition& position);
