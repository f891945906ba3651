#pragma once

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
    std::string error;          // what is wrong with the command line
};

// arguments exclude the program name. An option's value follows it as the next argument or after
// an equals sign (--log=FILE).
BatchOptions parseBatchOptions(const std::vector<std::string>& arguments);
