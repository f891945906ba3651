#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// Runs marovink-batch as the user would, in a process of its own.
struct BatchOutcome {
    int status = -1;     // exit status, -1 when it did not exit normally
    std::string output;  // standard output
};

// arguments are shell words (quote them with shellQuoted). Standard error goes to stderrPath.
// whileRunning, when given, is called with the process id once the program has started.
// program: the built marovink-batch unless a copy elsewhere is given.
BatchOutcome runBatchProgram(const std::string& arguments, const std::string& stderrPath,
                             const std::function<void(pid_t)>& whileRunning = nullptr,
                             const std::string& program = MAROVINK_BATCH_PATH);

std::string shellQuoted(const std::string& text);

class TAllTask;
class TempFolder;
struct FakeDvdTools;

// Saves tasks as folder/p.mvk and runs it with the tools beside the program (no settings file),
// logging to folder/run.log; standard error goes to folder/stderr.txt. options: further shell
// words, before the project; with them, a --settings option replaces the default settings.
BatchOutcome runWithBundledTools(const TempFolder& folder, const TAllTask& tasks,
                                 const std::string& options = std::string(),
                                 const std::function<void(pid_t)>& whileRunning = nullptr);

// Five tasks in folder with every stage and deletion, saved as folder/p.mvk, and a settings file
// folder/tools.ini that names the fake tools.
TAllTask saveFakeToolsProject(const TempFolder& folder, const FakeDvdTools& tools);
