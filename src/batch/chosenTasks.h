#pragma once

#include "batch/batchOptions.h"
#include "runner/taskSelection.h"

// The tasks of a project of `count` tasks that --tasks and --failed-from leave to run: every task
// when neither is given. Throws std::invalid_argument for a list that cannot be read, IoError for
// an earlier run log that cannot be.
TaskNumbers chosenTasks(const BatchOptions& options, int count);
