#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "regional/regionalFormats.h"
#include "runner/exec/parallelRun.h"
#include "runner/exec/processThreadUnit.h"
#include "runner/exec/progressThreadUnit.h"
#include "runner/state/runEvent.h"
#include "runner/state/runLog.h"
#include "runner/state/taskBoard.h"
#include "runner/state/taskSelection.h"

class FileLock;
class MessageSink;
class Settings;
namespace platform {
class Platform;
}

// What a front end shows of a run. Every call but progress comes from a runner's thread, one at
// a time, and the run waits for it to return; progress comes from a step's monitor.
class RunView {
public:
    virtual ~RunView() = default;

    // Each event of a task, after the task board has it. With one task at a time, each is shown
    // once it is in the run log; with several, a task's entries reach the log when it ends. The
    // monitor of a step starts after its start is shown.
    virtual void runEvent(const RunEvent& event) = 0;
    // The step's percentage, or with several tasks at once the whole run's.
    virtual void progress(int percentage) = 0;
    // Where the run stands, after each of the calls above; from the monitor's thread after a
    // progress.
    virtual void runPosition(const RunPosition&) {}
    // Last, once the end of the run has been logged.
    virtual void runFinished() = 0;
};

// One run of a task list as every front end makes it: the run log and the tools log emptied, every
// runner event written to the run log, reported to the task board and shown through the view, and
// one progress monitor per running step. The front end only decides how the events look.
//
// With several tasks at once, each task's entries are held and written whole when it ends, and so
// is each tool's output in the tools log. An abort's entry goes into the block of every task it
// cuts short, where a one-task run would have it, and once more after the last block.
class RunSession {
public:
    struct Services {
        Settings& settings;
        platform::Platform& platform;
        MessageSink& messages;
        RegionalFormats formats;
        // How many tasks run at the same time; with 1, one after the other.
        int tasksAtOnce = 1;
        // For a retry: the inputs the earlier run deleted, by task number. Each such task goes
        // on after the stages they show finished.
        std::map<int, std::vector<std::string>> deletedEarlier = {};
    };

    // Takes the run log's lock for the whole run, empties the run log and the tools log beside
    // it, then starts the run on a copy of the tasks. Throws IoError, with nothing started, when
    // another run holds the lock (the logs are then untouched) or a log cannot be emptied (the
    // logs are then untouched too).
    RunSession(const TAllTask& tasks, RunLog& log, Services services, RunView& view,
               TaskBoard& board);
    // The same for the chosen tasks only; the log, the view and the board name each by its
    // number in the whole list.
    RunSession(const TAllTask& tasks, const TaskNumbers& chosen, RunLog& log, Services services,
               RunView& view, TaskBoard& board);
    // Waits for the end of the run.
    ~RunSession();
    RunSession(const RunSession&) = delete;
    RunSession& operator=(const RunSession&) = delete;

    // The user's abort: the run stops at its next test point and the abort is logged. Returns
    // false, logging nothing, when the run has already ended. Throws IoError when the log
    // cannot be written.
    bool abort();
    // Lets the running tasks end and starts no other; logged before the end of the run. Returns
    // false when the run has already ended or was told so before.
    bool stopAfterRunningTasks();
    // Stops the run at its next test point without a word in the log, not even its end, as when
    // the program closes: no view is told anything more.
    void stopQuietly();
    // Waits for the end of the run, then tells the board how the run ended.
    void waitForEnd();

    // After the end of the run: the failure that ended it early (a log that could not be
    // written, an input that could not be read), or empty.
    std::string runFailure() const { return run_->runFailure(); }
    // Whether a failure came from writing the run log.
    bool logWriteFailed() const { return logWriteFailed_.load(); }

private:
    void onEvent(const RunEvent& event);
    void logEvent(const RunEvent& event);
    void startMonitor(const RunEvent& stepStart);
    void onProgress(int taskIndex, int percentage);
    void onTaskEnd(const RunEvent& event);
    void onRunFinished();
    void stopMonitor(int taskIndex);
    // Has the board apply the event, and shows where the run now stands.
    void show(const RunEvent& event);
    double elapsedSeconds() const;
    // Writes an entry of the task: to the file at once, or to the task's block.
    void writeEntry(int taskIndex, const std::function<void(RunLog::Block*)>& write);
    void writeLog(const std::function<void()>& write);

    // One run per log: two runs would empty and interleave each other's entries. The lock file
    // beside the log stays with its path when the log is renamed during a run.
    std::unique_ptr<FileLock> logLock_;
    std::unique_ptr<FileLock> earlierVersionsLogLock_;
    RunLog& log_;
    RunView& view_;
    TaskBoard& board_;
    platform::Platform& platform_;
    const TaskNumbers chosen_;
    const bool sideBySide_;
    mutable std::mutex mutex_;
    bool finished_ = false;
    bool stoppedQuietly_ = false;
    bool endReported_ = false;
    // Aborts asked for while tasks run side by side: their entries follow the last block.
    int abortsToLog_ = 0;
    bool stopAfterRunningToLog_ = false;
    // The held entries of each running task, when tasks run side by side.
    std::map<int, RunLog::Block> blocks_;
    std::atomic<bool> logWriteFailed_{false};
    const std::chrono::steady_clock::time_point start_;
    // The monitor of each running step, made and ended with the runners' events.
    std::map<int, std::unique_ptr<TprogressThread>> monitors_;
    // Last, so that it ends, and stops using the rest, first.
    std::unique_ptr<ParallelRun> run_;
};
