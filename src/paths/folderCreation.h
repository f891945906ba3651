#pragma once

#include <string>

// Creates the folder at path and any missing parents. A trailing separator is ignored; an
// existing folder or a root counts as success. False when a creation fails. Throws IoError for
// an empty path, which names no folder at all.
bool createFolderWithParents(const std::string& path);

// The folder that holds the file at path, without its trailing separator except for a root.
std::string folderPartOf(const std::string& path);
