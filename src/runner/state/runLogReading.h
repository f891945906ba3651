#pragma once

#include <set>
#include <string>
#include <vector>

#include "runner/state/runState.h"
#include "runner/state/taskSelection.h"

namespace taskSelection {

// What an earlier run log shows, read a line at a time: its entries are the run's events again,
// applied to the run's state as the live run applied them. A task is finished when its block has
// no error entry and the run went past it (the next task, or the end of the run), or when an
// entry carries it forward as finished in an earlier run.
class LogReading {
public:
    // Tasks past the last of `count` are left out.
    explicit LogReading(int count);

    void line(const std::string& text);
    // The block being read is whole: a run of several tasks at once writes each when its task
    // has ended, so the task is finished unless the block shows an error.
    void blockEnded() { endCurrent(false); }
    // Once every line has been read: the finished tasks.
    std::set<int> finished();
    // The run as its log shows it.
    const RunState& state() const { return state_; }

private:
    void endCurrent(bool cutShort);

    const int count_;
    RunState state_;
    std::set<int> carriedForward_;
    bool previousWasTaskRule_ = false;
    int current_ = -1;
};

// Whether a line can open a run log: a task start's rule, an abort, the end of a run or
// finished tasks carried forward. The empty lines before a task start's rule are skipped first.
bool opensRunLog(const std::string& firstLineWithText);

// The entry that carries tasks forward as finished in an earlier run.
std::string carriedForwardEntry(const TaskNumbers& numbers);

// The tasks of a list of `count` tasks that a run log does not show as finished without an
// error: those with an error entry, the one an abort entry cut short, the one a run that ended
// without its end entry was running, and those the log never shows starting.
TaskNumbers unfinishedInLog(const std::vector<std::string>& logLines, int count);
TaskNumbers unfinished(const std::set<int>& finished, int count);

}  // namespace taskSelection
