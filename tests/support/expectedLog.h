#pragma once

#include <functional>
#include <string>
#include <vector>

class Ttask;
struct SettingsValues;

// Lines of a run log as a run writes them, with the time stamps written "STAMP" and the durations
// "after Ns ", as the tests mask them.
namespace expectedLog {

// The lines of a run log file, masked in the same way.
std::vector<std::string> maskedLogLines(const std::string& logPath);

// True when every line of the file, the last one included, ends with CR LF.
bool everyLineEndsWithCrLf(const std::string& path);

std::vector<std::string> taskStart(int taskIndex);

// What the fake authoring tool's DVD reads back as, with the blank the log's duration follows.
extern const char* const fakeDvdChecked;

// A task with all three stages and all three deletions, everything large enough; its DVD reads
// back as dvdChecked says.
std::vector<std::string> fullTask(const Ttask& task, const SettingsValues& tools, int taskIndex,
                                  const std::string& dvdChecked = fakeDvdChecked);

// A task that only demultiplexes, without deletion.
std::vector<std::string> demuxOnly(const Ttask& task, const SettingsValues& tools, int taskIndex);

// A task whose source is missing.
std::vector<std::string> missingSource(const Ttask& task, int taskIndex);

std::vector<std::string> endOfRun();

// Tasks that ran side by side: the block of each task whose start the logged lines show, in the
// order they show them.
std::vector<std::string> blocksInLoggedOrder(
    const std::vector<std::string>& loggedLines, int taskCount,
    const std::function<std::vector<std::string>(int)>& blockOf);

}  // namespace expectedLog
