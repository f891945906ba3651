#pragma once

#include <optional>
#include <string>

#include "task/task.h"

// The rules of the task editor's OK. "boxes" is a task holding the editor's box texts and stage
// states as they stand; the rules read them in the order OK applies them.

// True when the source and the remuxed VOB texts are the same, byte for byte (also both empty),
// whatever the stages: remultiplexing would overwrite the source.
bool remuxedOverwritesSource(const Ttask& boxes);

// When demultiplexing, the text of the warning for a video or audio stream box that names the
// source (compared as files: through a link too): the tool would destroy what it reads.
std::optional<std::string> streamOverwritingSource(const Ttask& boxes);

// The first input of the first active stage that is not an existing file: the source for
// demultiplexing, else the video and then the audio stream for remultiplexing, else the remuxed
// VOB for authoring. Empty when every input is there or no stage runs.
std::optional<std::string> firstMissingInput(const Ttask& boxes);

// The task OK writes: the stages and delete flags as checked, each path as its box holds it or
// empty when its panel is hidden, and the chapter list only while authoring.
Ttask taskFromBoxes(const Ttask& boxes);

// The folder OK creates for the first stage's output, counted from the last stage: the
// destination for authoring, else the folder of the remuxed VOB, else that of the video stream.
// "namedBy" is the whole box text that names it, for the failure message.
struct OutputFolder {
    std::string path;
    std::string namedBy;
};
std::optional<OutputFolder> outputFolderOf(const Ttask& boxes);

// The warnings OK shows.
std::string missingInputMessage(const std::string& path);
std::string folderNotCreatedMessage(const std::string& namedBy);

// Why a task fails OK's checks, with the text of OK's warning.
struct OkFailure {
    enum class Reason { overwritesSource, streamIsSource, missingInput, folderNotCreated };
    Reason reason;
    std::string message;
};

// Checks a task as the editor's OK does, with no one to answer its questions: a remuxed VOB that
// would overwrite the source fails, then a stream that would, then a missing input, then an output
// folder that cannot be created (it is created, with missing parents, as OK creates it). Empty when
// OK would close the editor. Throws IoError for an empty output folder path, as OK reports it.
std::optional<OkFailure> checkTaskAsEditorOk(const Ttask& task);
