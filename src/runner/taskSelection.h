#pragma once

#include <string>
#include <vector>

// The tasks a run takes, as their numbers in the whole list (from 0, as the run log numbers
// them), ascending and each once.
using TaskNumbers = std::vector<int>;

namespace taskSelection {

// Every task of a list of `count` tasks.
TaskNumbers all(int count);

// A list such as "3,5-9" of numbers and ranges, from 0. Numbers past the last of `count` tasks
// are left out, so that fixed-size slices can cover a list whatever its length. Throws
// std::invalid_argument, naming the fault, for any other text.
TaskNumbers parse(const std::string& text, int count);

// The tasks of a list of `count` tasks that a run log does not show as finished without an
// error: those with an error entry, the one an abort entry cut short, the one a run that ended
// without its end entry was running, and those the log never shows starting.
TaskNumbers unfinishedInLog(const std::vector<std::string>& logLines, int count);

// The numbers found in both.
TaskNumbers common(const TaskNumbers& first, const TaskNumbers& second);

}  // namespace taskSelection
