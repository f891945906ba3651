#pragma once

#include <string>

// Files that lie beside the program take the program file's path with another extension.
namespace programLocation {

// The folder of a program file, ending with a path separator.
std::string folderOf(const std::string& programPath);
// The program file's path with its extension (if any) replaced by `extension` (".ini", ".log").
std::string besideProgram(const std::string& programPath, const std::string& extension);

// The tools log that lies beside a run log: "marovink.log" keeps the tools' output in
// "marovink.tools.log".
std::string toolsLogBeside(const std::string& runLogPath);

// Where a document of the program lies (the licence): beside the program, except in the installed
// layout, where the programs lie in PREFIX/lib/marovink/ and the documents in
// PREFIX/share/doc/marovink/.
std::string documentPath(const std::string& programPath, const std::string& fileName);

// The name the about box shows: the program file's name without its folder and without an ".exe"
// extension in any letter case (C:\Marovink\Marovink.exe gives "Marovink").
std::string programName(const std::string& programPath);

}  // namespace programLocation
