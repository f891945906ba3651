#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "regional/regionalFormats.h"
#include "runner/processThreadUnit.h"
#include "runner/progressThreadUnit.h"
#include "runner/runEstimate.h"
#include "runner/taskBoard.h"
#include "runner/taskSelection.h"

class FileLock;
class MessageSink;
class RunLog;
class Settings;
namespace platform {
class Platform;
}

// What a front end shows of a run. Every call but progress comes from the runner's thread, one at
// a time, and the run waits for it to return; progress comes from the step's monitor.
class RunView {
public:
    virtual ~RunView() = default;

    virtual void taskStarted(int taskIndex) = 0;
    // Each event is shown once it is in the run log. The monitor of a step starts after its
    // stepStarted.
    virtual void stepStarted(const std::string& text) = 0;
    virtual void stepDone(const std::string& text) = 0;
    virtual void taskFailed(const std::string& text, int taskIndex) = 0;
    virtual void progress(int percentage) = 0;
    // Where the run stands, after each of the calls above; from the monitor's thread after a
    // progress.
    virtual void runPosition(const RunPosition&) {}
    // Last, once the end of the run has been logged.
    virtual void runFinished() = 0;
};

// One run of a task list as every front end makes it: the run log and the tools log emptied, every
// runner event written to the run log, reported to the task board and shown through the view, and
// one progress monitor per step. The front end only decides how the events look.
class RunSession {
public:
    struct Services {
        Settings& settings;
        platform::Platform& platform;
        MessageSink& messages;
        RegionalFormats formats;
        // How many tasks run at the same time; with 1, one after the other.
        int tasksAtOnce = 1;
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
    // Stops the run at its next test point without a word in the log, not even its end, as when
    // the program closes: no view is told anything more.
    void stopQuietly();
    // Waits for the end of the run, then tells the board how the run ended.
    void waitForEnd();

    // After the end of the run: the failure that ended it early (a log that could not be
    // written, an input that could not be read), or empty.
    const std::string& runFailure() const { return runner_->runFailure(); }
    // Whether a failure came from writing the run log.
    bool logWriteFailed() const { return logWriteFailed_.load(); }

private:
    TprocessThread::Handlers handlers();
    void onStepStart(TprocessThread& runner, const std::string& text);
    void stopMonitor();
    void showPosition();
    void writeLog(const std::function<void()>& write);

    // One run per log: two runs would empty and interleave each other's entries. The lock file
    // beside the log stays with its path when the log is renamed during a run.
    std::unique_ptr<FileLock> logLock_;
    std::unique_ptr<FileLock> earlierVersionsLogLock_;
    RunLog& log_;
    RunView& view_;
    TaskBoard& board_;
    platform::Platform& platform_;
    mutable std::mutex mutex_;
    bool finished_ = false;
    bool stoppedQuietly_ = false;
    bool endReported_ = false;
    std::atomic<bool> logWriteFailed_{false};
    RunEstimate estimate_;
    // The monitor of the current step, made and ended on the runner's thread.
    std::unique_ptr<TprogressThread> monitor_;
    // Last, so that it ends, and stops using the rest, first.
    std::unique_ptr<TprocessThread> runner_;
};
