#pragma once

#include <string>
#include <vector>

// What the safe replace of a file shares between the systems: the names of its temporary files
// and the file a path finally names.
namespace replacement {

// A fresh temporary name beside target: target's name, a dot, a unique stamp, ".tmp".
std::string temporaryPathBeside(const std::string& target);
// True when fileName (without folder) is a temporary name made for targetName.
bool isTemporaryNameOf(const std::string& fileName, const std::string& targetName);
// The temporary files beside target that saves of it made, in use or left behind.
std::vector<std::string> temporaryFilesOf(const std::string& target);

// The file path names once every symbolic link on the way is followed, even when that file does
// not exist yet. Throws IoError on a loop of links.
std::string finalTarget(const std::string& path);

}  // namespace replacement
