#pragma once

#include <set>
#include <string>
#include <vector>

// The tasks a run takes, as their numbers in the whole list (from 0, as the run log numbers
// them), ascending and each once.
using TaskNumbers = std::vector<int>;

namespace taskSelection {

// Every task of a list of `count` tasks.
TaskNumbers all(int count);

// Throws std::invalid_argument, naming the fault, unless the text is a list such as "3,5-9" of
// numbers and ranges. Numbers of any length are taken.
void checkList(const std::string& text);

// The tasks of such a list, from 0. Numbers past the last of `count` tasks are left out, so that
// fixed-size slices can cover a list whatever its length. Throws as checkList.
TaskNumbers parse(const std::string& text, int count);

// The shortest list that parse reads back as these numbers: "0,2-4".
std::string listText(const TaskNumbers& numbers);

// What an earlier run log shows, read a line at a time. A task is finished when its block has no
// error entry and the run went past it (the next task, or the end of the run), or when an entry
// carries it forward as finished in an earlier run.
class LogReading {
public:
    // Tasks past the last of `count` are left out.
    explicit LogReading(int count) : count_(count) {}

    void line(const std::string& text);
    // The block being read is whole: a run of several tasks at once writes each when its task
    // has ended, so the task is finished unless the block shows an error.
    void blockEnded() { closeCurrent(false); }
    // Once every line has been read: the finished tasks.
    const std::set<int>& finished();

private:
    void closeCurrent(bool cutShort);

    const int count_;
    std::set<int> finished_;
    bool previousWasTaskRule_ = false;
    int current_ = -1;
    bool currentFailed_ = false;
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

// The numbers found in both.
TaskNumbers common(const TaskNumbers& first, const TaskNumbers& second);

}  // namespace taskSelection
