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
    std::vector<Skipped> skipped;
};

// True for a VOB file (by its last three letters, as the editor tells them) or a video stream
// with the extension ".m2v", in any letter case.
bool isSourceFileName(const std::string& path);

// The tasks of the source files in their order. Creates each task's output folder, as OK does.
SourceFilesOutcome tasksFromSourceFiles(const std::vector<std::string>& paths,
                                        const std::string& videoStandard,
                                        const RegionalFormats& formats);

// The one message that tells what was added and what was skipped, lines ended by CR LF.
std::string sourceFilesSummary(const SourceFilesOutcome& outcome);
