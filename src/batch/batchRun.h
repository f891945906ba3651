#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "batch/batchOptions.h"
#include "batch/chosenTasks.h"
#include "batch/consoleReport.h"
#include "batch/projectFileClash.h"
#include "regional/regionalFormats.h"
#include "runner/state/taskSelection.h"

namespace platform {
class Platform;
}
class RunSession;
class Settings;
class TAllTask;
class TaskBoard;

// One run of a saved project without a window: the same settings, runner and log entries as a run
// from the window.
class BatchRun {
public:
    enum ExitStatus { noTaskFailed = 0, someTaskFailed = 1, cannotRun = 2, runAborted = 3 };

    BatchRun(platform::Platform& platform, std::string programPath, RegionalFormats formats,
             ConsoleReport& console);
    ~BatchRun();

    ExitStatus run(const BatchOptions& options);

    // Asks a run under way to stop, as the window's Abort does: the abort entry is logged and the
    // run ends at its next test point. Does nothing when no run is under way. Any thread.
    void abort();

private:
    struct Files {
        std::string settings;
        std::string log;
    };
    // What was being done with which file, to name in a failure whose text does not.
    struct Failure {
        std::string doing;
        std::string file;
        void report(ConsoleReport& console, const std::string& text) const;
    };

    Files filesOf(const BatchOptions& options) const;
    // The settings, the project and the earlier log; false, with the failure reported, when the
    // run cannot start on them.
    bool readInputs(const BatchOptions& options, const Files& files, Settings& settings,
                    TAllTask& tasks, EarlierRun& earlier, Failure& failure);
    std::vector<OwnFile> ownFilesOf(const BatchOptions& options, const std::string& logPath) const;
    // The entry naming the tasks an earlier run finished; false, reported, when it cannot be
    // written.
    bool writeCarriedForward(const TaskNumbers& finishedEarlier, const std::string& logPath);
    void waitForEnd(RunSession& session, const std::string& logPath);
    ExitStatus reportEnd(const RunSession& session, const TaskBoard& board,
                         const std::string& logPath, bool carryForwardFailed);

    platform::Platform& platform_;
    const std::string programPath_;
    const RegionalFormats formats_;
    ConsoleReport& console_;
    std::mutex runMutex_;
    RunSession* session_ = nullptr;  // while a run is under way
    std::string logPath_;            // the log of that run
};
