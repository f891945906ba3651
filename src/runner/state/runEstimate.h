#pragma once

#include <optional>
#include <string>

namespace plan {
struct TaskPlan;
}

// Where a run stands: the task under way among the run's tasks (or, with several at once, how
// many run and have ended), the share of its work done, and the time still to come.
struct RunPosition {
    int task = 0;  // from 1, the latest task started; 0 before the first task starts
    int taskCount = 0;
    int percent = 0;
    // None before the first stage of the run has ended.
    std::optional<int> minutesLeft;
    std::optional<int> secondsLeft;
    // With several tasks at once: how many run now and how many have ended, and the running task
    // furthest from its end, by its place among the run's tasks (-1 when none runs).
    bool sideBySide = false;
    int running = 0;
    int ended = 0;
    int slowest = -1;
};

// The work of one task: the bytes its first stage reads, its tool runs, and how many of those
// make its first stage.
struct TaskWork {
    double sourceBytes = 0;
    int toolRuns = 0;
    int firstStageRuns = 0;
};

// Measures the inputs of a task's plan as they are now.
TaskWork workOf(const plan::TaskPlan& plan);

// The status line's addition for a position: " — task 2 of 10, about 3 min left", or with several
// tasks at once " — 2 tasks running, 3 of 10 ended, about 3 min left"; under a minute and a half
// in steps of 5 s ("about 25 s left"), so that the end of a run is seen coming; without the time
// left while there is no estimate; empty before the first task.
std::string runPositionText(const RunPosition& position);
// The window caption during a run: "37 % — Marovink".
std::string runCaption(const RunPosition& position);
