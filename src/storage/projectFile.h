#pragma once

#include <string>

class TAllTask;

// The project file: a count line, then 21 lines per task, CR LF after every line.
namespace projectFile {

std::string serialize(const TAllTask& tasks);

// Writes the list to path. Throws IoError on failure; the previous file is then intact.
void save(const std::string& path, const TAllTask& tasks);

// Appends the tasks stored at path to `tasks`. Throws IoError when the file cannot be read and
// ConversionError when its first line is no whole number, IoError naming the file and the line
// when a line is longer than longestLine; tasks appended before a failure stay.
// Reading stops at the end of the file: a block cut short gives a task with empty or false
// fields, but no task is made for a block that would begin past the end.
void load(const std::string& path, TAllTask& tasks);

}  // namespace projectFile
