#pragma once

#include <string>
#include <vector>

// Splits a command line into the program and its arguments the way a Windows program receives
// them: the first token ends at the next double quote when it begins with one, otherwise at a
// blank; the arguments follow the C runtime's rules for blanks, double quotes and backslashes.
std::vector<std::string> splitCommandLine(const std::string& commandLine);
