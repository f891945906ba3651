#pragma once

#include <string>

class Ttask;

// The texts the task list shows for a task.
namespace taskDescription {

// The first file the task works on, or empty when no stage is on.
std::string firstFileName(const Ttask& task);

// Every file and folder of the chain in stage order, with the files to be deleted marked; lines
// joined by CR LF.
std::string hoverText(const Ttask& task);

// The chapter list cut after commas into lines of about 45 characters, joined by CR LF.
std::string wrapChapterList(const std::string& chapterList);

}  // namespace taskDescription
