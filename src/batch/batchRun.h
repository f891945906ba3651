#pragma once

#include <mutex>
#include <string>

#include "batch/batchOptions.h"
#include "batch/consoleReport.h"
#include "regional/regionalFormats.h"

namespace platform {
class Platform;
}
class RunSession;

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
    platform::Platform& platform_;
    const std::string programPath_;
    const RegionalFormats formats_;
    ConsoleReport& console_;
    std::mutex runMutex_;
    RunSession* session_ = nullptr;  // while a run is under way
    std::string logPath_;            // the log of that run
};
