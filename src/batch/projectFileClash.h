#pragma once

#include <string>
#include <vector>

#include "storage/settings.h"
#include "task/task.h"

// A file that the batch run writes or reads besides the project's own: the run log, the tools
// log, the earlier run log. `subject` names it in a message ("--log ").
struct OwnFile {
    std::string subject;
    std::string path;
};

// The files that a run of the project reads or writes, whatever its stages: the project, the
// settings, the three tools, and of every task its source, streams, remultiplexed VOB, DVD folder
// and authored DVD.
struct ProjectFiles {
    std::string projectPath;
    std::string settingsPath;
    SettingsValues tools;
    const TAllTask& tasks;
};

// The message for the first own file that is one of the project's files, compared as files (a
// symbolic or hard link is the same file), or that lies in a task's authored DVD; empty when
// there is none.
std::string projectFileClash(const std::vector<OwnFile>& ownFiles, const ProjectFiles& project);
