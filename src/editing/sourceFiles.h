#pragma once

#include <string>
#include <vector>

#include "task/task.h"

struct RegionalFormats;

// Many source files turned into tasks at once, each as "Add Task..." makes it when that file is
// picked and OK is pressed at once. A file that OK would refuse is left out, with the reason.
struct SourceFilesOutcome {
    struct Skipped {
        std::string path;
        // Follows the path and begins with a blank: " is not a VOB or .m2v file".
        std::string reason;
    };
    std::vector<Ttask> tasks;
    std::vector<std::string> addedFiles;
    // The added files whose tasks were given names of their own (see tasksFromSourceFiles).
    std::vector<std::string> renamedFiles;
    std::vector<Skipped> skipped;
};

// True for a VOB file (by its last three letters, as the editor tells them) or a video stream
// with the extension ".m2v", in any letter case.
bool isSourceFileName(const std::string& path);

// The tasks of the source files in their order. Creates each task's output folder, as OK does.
// A file that is already the source of a task of the list, or of an earlier file, is skipped.
// Sources that share a folder with each other or with a task of the list would all write the same
// stream files, remuxed VOB and DVD: each gets names of its own, from its own name
// ("VTS_01_2.m2v", "remuxedVTS_01_2.VOB", "VTS_01_2 DVD"). A new task keeps every audio track
// when its source asks for it (see keepEveryTrackByDefault).
SourceFilesOutcome tasksFromSourceFiles(const std::vector<std::string>& paths, const TAllTask& list,
                                        const std::string& videoStandard,
                                        const RegionalFormats& formats);

// Gives the task names of its own for what it writes, from its source's name, as for sources
// that share a folder above.
void giveOwnNames(Ttask& task, const std::string& source);

// The one message that tells what was added and what was skipped, lines ended by CR LF.
std::string sourceFilesSummary(const SourceFilesOutcome& outcome);
