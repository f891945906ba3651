#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/batchOptions.h"
#include "runner/state/runLogReading.h"

// A --failed-from file whose first entry is none that a run log begins with.
class NotARunLog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What an earlier run log shows of a project of `count` tasks.
struct EarlierRun {
    // Finished without an error, the carried-forward entries included.
    std::set<int> finished;
    // The inputs the run deleted, of each task it did not finish.
    std::map<int, std::vector<std::string>> deletedInputs;
};

// Read whole now, before a run empties its own log, which may be this one. Throws IoError when
// the file cannot be read, NotARunLog.
EarlierRun readEarlierRun(const std::string& path, int count);

struct TaskChoice {
    TaskNumbers toRun;
    // Finished by the earlier run and so not run again: the new log carries them forward.
    TaskNumbers finishedEarlier;
};

// The tasks of a project of `count` tasks that --tasks and --failed-from leave to run: every task
// when neither is given. `finishedEarlier` is what the --failed-from log shows.
TaskChoice chosenTasks(const BatchOptions& options, int count,
                       const std::set<int>& finishedEarlier);
