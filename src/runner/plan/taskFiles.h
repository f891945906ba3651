#pragma once

#include <optional>
#include <string>
#include <vector>

class Ttask;

// Every file and folder a task reads or writes, as its plan names them: the source, the streams
// (each track and subtitle stream that a survey of the source finds, for a task keeping every
// one, with the title run's control files), the remultiplexed VOB and the destination folder.
// Empty texts are left out.
std::vector<std::string> filesOfTask(const Ttask& task);

// Whether two tasks would touch the same file or folder, compared as files: such tasks never run
// at the same time.
bool tasksShareAFile(const std::vector<std::string>& first, const std::vector<std::string>& second);

// Why a task may not start for its outputs: an output of its demultiplexing that is its source
// (compared as files: the tool would destroy what it reads), or an output of any stage it runs
// that is a symbolic link to nothing. audioPaths: the other streams its demultiplexing writes.
std::optional<std::string> unsafeOutputOf(const Ttask& task,
                                          const std::vector<std::string>& audioPaths);
