#pragma once

#include <optional>
#include <string>

#include "task/task.h"

struct RegionalFormats;

// The paths the task editor proposes when the user picks a file. "boxes" is a task holding the
// editor's box texts and stage states as they stand; only what the pick proposes is changed.
// A pick that may import chapters returns the chapter file lying beside the picked file
// ("CellTimes.txt"), when one exists, for the caller to import.
namespace sourcePick {

// A file picked as the source. A VOB file (by its last three letters) proposes the streams, the
// remuxed VOB and the destination beside it; any other file is taken as the video stream and
// switches demultiplexing off (see pickVideoStream).
std::optional<std::string> pickSource(Ttask& boxes, const std::string& path);

// A video stream picked as an input: the audio stream is the ".ac3" file beside it when that
// exists, else its folder (which OK then reports as missing); remuxed VOB and destination beside
// it.
std::optional<std::string> pickVideoStream(Ttask& boxes, const std::string& path);

// A video stream picked as demultiplexing's output: the audio stream beside it, with its name and
// the extension ".ac3"; remuxed VOB and destination beside it.
void pickStreamDestination(Ttask& boxes, const std::string& path);

// A remuxed VOB picked: the destination beside it. When remultiplexing is off the VOB is
// authoring's input, and its chapter file is returned as for a source.
std::optional<std::string> pickRemuxedVob(Ttask& boxes, const std::string& path);

// The name a save chooser proposes for an output: its box text, else the name the program gives
// that output.
enum class Output { videoStream, audioStream, remuxedVob };
std::string proposedName(const Ttask& boxes, Output output);

}  // namespace sourcePick

// The task that "Add Task..." makes from a picked source file when the editor's OK is pressed at
// once: the paths and stages that picking it proposes, and the chapter points of a CellTimes.txt
// beside it. Throws IoError when that chapter file cannot be read.
Ttask taskFromSourceFile(const std::string& path, const std::string& videoStandard,
                         const RegionalFormats& formats);
