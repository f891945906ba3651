#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class Ttask;

// Where a run stands: the task under way among the run's tasks, the share of its work done, and
// the time still to come.
struct RunPosition {
    int task = 0;  // from 1; 0 before the first task starts
    int taskCount = 0;
    int percent = 0;
    std::optional<int> minutesLeft;  // none before the first stage of the run has ended
};

// The work of one task: the bytes of source it starts from, its tool runs, and how many of those
// make its first stage.
struct TaskWork {
    double sourceBytes = 0;
    int toolRuns = 0;
    int firstStageRuns = 0;
};

// Measures a task's sources as they are now.
TaskWork workOf(const Ttask& task);

// Estimates a run's progress and time left from the bytes of source processed against those
// still to come: each tool run of a task counts for an equal share of its source bytes, the run
// under way for the share its progress monitor reports. Safe to call from several threads.
class RunEstimate {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The run starts now.
    explicit RunEstimate(std::vector<TaskWork> tasks, Clock now = std::chrono::steady_clock::now);

    void taskStarted();
    void toolRunStarted();
    void toolRunProgress(int percentage);
    void toolRunEnded();

    RunPosition position() const;

private:
    double bytesDone() const;

    const std::vector<TaskWork> tasks_;
    const Clock now_;
    const std::chrono::steady_clock::time_point start_;
    double totalBytes_ = 0;
    mutable std::mutex mutex_;
    int task_ = -1;  // in tasks_
    double bytesOfEndedTasks_ = 0;
    int runsEnded_ = 0;       // of the current task
    int runPercentage_ = -1;  // of the tool run under way; -1 when none is
    bool stageEnded_ = false;
};

// The status line's addition for a position: " — task 2 of 10, about 3 min left", without the
// time left while there is no estimate; empty before the first task.
std::string runPositionText(const RunPosition& position);
// The window caption during a run: "37 % — Marovink".
std::string runCaption(const RunPosition& position);
