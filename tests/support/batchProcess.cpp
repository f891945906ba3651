#include "support/batchProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "storage/projectFile.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

BatchOutcome runBatchProgram(const std::string& arguments, const std::string& stderrPath,
                             const std::function<void(pid_t)>& whileRunning,
                             const std::string& program) {
    // The shell prints its own id, then becomes the program: that id is the program's.
    const std::string command =
        "echo $$; exec " + shellQuoted(program) + " " + arguments + " 2>" + shellQuoted(stderrPath);
    std::FILE* pipe = popen(command.c_str(), "r");
    BatchOutcome outcome;
    if (pipe == nullptr) {
        return outcome;
    }
    std::string all;
    char buffer[4096];
    ssize_t count = 0;
    pid_t pid = 0;
    while ((count = read(fileno(pipe), buffer, sizeof buffer)) > 0) {
        all.append(buffer, static_cast<std::size_t>(count));
        if (pid == 0 && all.find('\n') != std::string::npos) {
            pid = std::stoi(all.substr(0, all.find('\n')));
            if (whileRunning) {
                whileRunning(pid);
            }
        }
    }
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.output = all.substr(all.find('\n') + 1);
    return outcome;
}

BatchOutcome runWithBundledTools(const TempFolder& folder, const TAllTask& tasks,
                                 const std::string& options,
                                 const std::function<void(pid_t)>& whileRunning) {
    projectFile::save(folder.file("p.mvk"), tasks);
    const bool ownSettings = options.find("--settings") != std::string::npos;
    return runBatchProgram((ownSettings ? std::string() : "--default-settings ") + options +
                               " --log " + shellQuoted(folder.file("run.log")) + " " +
                               shellQuoted(folder.file("p.mvk")),
                           folder.file("stderr.txt"), whileRunning);
}

TAllTask saveFakeToolsProject(const TempFolder& folder, const FakeDvdTools& tools) {
    const SettingsValues paths = tools.settings();
    writeBytes(folder.file("tools.ini"), "[software path]\r\ndemuxing=" + paths.demuxExePath +
                                             "\r\nmuxing=" + paths.muxExePath +
                                             "\r\nauthoring=" + paths.authorExePath + "\r\n");
    TAllTask tasks;
    for (int i = 0; i < 5; ++i) {
        TaskRef task = taskInFolder(folder.path(), "t" + std::to_string(i));
        task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
        tasks.add(task);
    }
    projectFile::save(folder.file("p.mvk"), tasks);
    return tasks;
}
