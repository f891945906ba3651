#pragma once

#include <optional>
#include <string>
#include <vector>

struct BatchOptions {
    enum class Action { Run, Help, Version, UsageError };

    Action action = Action::Run;
    std::string settingsPath;      // empty: the window program's settings file
    bool defaultSettings = false;  // the built-in values, with no settings file read
    std::string logPath;           // empty: the window program's run log
    std::string projectPath;
    std::string taskList;       // empty: every task
    std::string failedFromLog;  // empty: no earlier run narrows the tasks
    // --jobs: how many tasks run at the same time, 0 for one per processor core; empty: as the
    // settings file says.
    std::optional<int> tasksAtOnce;
    std::string error;  // what is wrong with the command line
};

// arguments exclude the program name. An option's value follows it as the next argument or after
// an equals sign (--log=FILE).
BatchOptions parseBatchOptions(const std::vector<std::string>& arguments);

// The number of tasks a run works on at the same time: --jobs when given, else the settings
// file's value. --jobs 0 takes one per processor core (processorCores, as the system reports it:
// 0 when unknown), at least one and at most SettingsValues::mostTasksAtOnce.
int resolvedTasksAtOnce(const std::optional<int>& jobs, int fromSettings, unsigned processorCores);
