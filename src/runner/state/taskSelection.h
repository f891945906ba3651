#pragma once

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

// Whether the text is one or more decimal digits, and nothing else.
bool isDigits(const std::string& text);

// The numbers found in both.
TaskNumbers common(const TaskNumbers& first, const TaskNumbers& second);

}  // namespace taskSelection
