#pragma once

#include <string>

// Pieces of 8-bit paths, taken textually as the task editor proposes and checks them.
namespace pathPieces {

// True for a character that ends a folder in a path: "/" everywhere, also "\" and a drive colon
// on Windows.
bool isFolderEnd(char c);

// The path up to and including its last separator; empty when it has none.
std::string folderOf(const std::string& path);

// The folder of path without its trailing separator, as the destination box receives it.
std::string folderWithoutLastCharacter(const std::string& path);

// The path with its extension (from the last "." after the last separator) replaced; a path
// without an extension gets it appended.
std::string replaceExtension(const std::string& path, const std::string& extension);

// True when the last three characters, lower-cased, are "vob".
bool endsWithVob(const std::string& path);

}  // namespace pathPieces
