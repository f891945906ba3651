#pragma once

#include <set>
#include <stdexcept>

#include "batch/batchOptions.h"
#include "runner/state/runLogReading.h"

// A --failed-from file whose first entry is none that a run log begins with.
class NotARunLog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The tasks, of a project of `count` tasks, that an earlier run log shows finished without an
// error, its carried-forward entries included. Read whole now, before a run empties its own log,
// which may be this one. Throws IoError when the file cannot be read, NotARunLog.
std::set<int> finishedInRunLog(const std::string& path, int count);

struct TaskChoice {
    TaskNumbers toRun;
    // Finished by the earlier run and so not run again: the new log carries them forward.
    TaskNumbers finishedEarlier;
};

// The tasks of a project of `count` tasks that --tasks and --failed-from leave to run: every task
// when neither is given. `finishedEarlier` is what the --failed-from log shows.
TaskChoice chosenTasks(const BatchOptions& options, int count,
                       const std::set<int>& finishedEarlier);
