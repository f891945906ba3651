#pragma once

#include <string>

// Where the user's own files lie: the settings file and the run log (the tools log lies beside
// the run log). A portable bundle keeps them beside the program; an installed program, whose
// folder the user cannot write, keeps them in the user's own folders and reads nothing beside
// itself. Decided once at start-up.
namespace userFiles {

struct Locations {
    std::string settingsFile;
    std::string runLog;
};

// How the program's folder is judged: by creating a file in it, or taken as not writable (a test
// running as a user who can write anywhere).
enum class ProgramFolder { TryWriting, NotWritable };

// windowProgramPath is the window program's file: beside it, the files take its name with ".ini"
// and ".log". When the user's folders are chosen they are created, so that the first save and
// the first run find them.
Locations locate(const std::string& windowProgramPath,
                 ProgramFolder programFolder = ProgramFolder::TryWriting);

// True when a file can be created in folder; the file made to find out is removed.
bool canCreateFileIn(const std::string& folder);

// The user's own folders for the program, each ending with a path separator. One implementation
// per system.
std::string userSettingsFolder();
std::string userLogFolder();

}  // namespace userFiles
