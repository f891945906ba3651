#pragma once

#include <string>
#include <vector>

class Ttask;
struct SettingsValues;

// Lines of a run log as a run writes them, with the time stamps written "STAMP" and the durations
// "after Ns ", as the tests mask them.
namespace expectedLog {

// A task with all three stages and all three deletions, everything large enough.
std::vector<std::string> fullTask(const Ttask& task, const SettingsValues& tools, int taskIndex);

// A task whose source is missing.
std::vector<std::string> missingSource(const Ttask& task, int taskIndex);

std::vector<std::string> endOfRun();

}  // namespace expectedLog

// The lines of a run log with the parts that vary from run to run masked: time stamps read
// "STAMP" and durations "after Ns ".
std::vector<std::string> maskedLogLines(const std::string& logPath);
