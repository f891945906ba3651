#pragma once

#include <optional>
#include <string>

// One thing that happened in a run, as the runner, the scheduler, a progress monitor or the
// session saw it. The texts the log and the front ends show are made from it; nothing splits a
// text to find a part again.
struct RunEvent {
    enum class Kind {
        taskStarted,
        // A tool is about to start: its stage message, its command line, and what it makes.
        stepStarted,
        // A tool's process has ended (or could not start), or a step that ran no tool is done:
        // a deletion, the DVD check's summary.
        stepDone,
        taskError,
        // The running tool's output, as a share of what it is expected to make.
        progress,
        // After a task's last event: whether a stop or a failure cut it short.
        taskEnded,
        abortRequested,
        // No further task starts; the running ones go on to their end.
        stopAfterRunningRequested,
        runEnded,
    };

    Kind kind = Kind::taskStarted;
    // The task's number in the whole list; -1 for the whole run's events.
    int task = -1;
    // stepStarted: the stage message; stepDone and taskError: the text.
    std::string message;
    // stepStarted: the command line that is run.
    std::string command;
    // stepStarted: the output the tool writes, and the size it is expected to reach (KiB).
    std::string target;
    bool targetIsFolder = false;
    double expectedKb = 0;
    // stepDone: whether it ends a tool run, and the tool's exit status when it could start.
    bool endsToolRun = false;
    std::optional<int> exitStatus;
    // stepDone: the input a stage deleted, once its outputs were whole.
    std::string deletedPath;
    // progress: from 0 to 100.
    int percent = 0;
    // taskEnded
    bool cutShort = false;

    static RunEvent taskStart(int task);
    static RunEvent stepStart(int task, std::string message, std::string command,
                              std::string target = {}, bool targetIsFolder = false,
                              double expectedKb = 0);
    static RunEvent toolEnd(int task, std::optional<int> exitStatus);
    static RunEvent done(int task, std::string message);
    static RunEvent deletion(int task, const std::string& path);
    static RunEvent error(int task, std::string message);
    static RunEvent progressOf(int task, int percent);
    static RunEvent taskEnd(int task, bool cutShort);
    static RunEvent abort();
    static RunEvent stopAfterRunning();
    static RunEvent runEnd();
};

// The text the runner's named events carry and the run log writes: a step's start is its stage
// message, CR LF, four blanks and its command line; a tool's end is "Done "; a task's start has
// none.
std::string eventText(const RunEvent& event);
