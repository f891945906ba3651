#pragma once

#include <string>

// The fake tool program that the test build makes beside the tests.
std::string fakeToolProgram();

// Copies the fake tool into folder as name + ".exe" and returns the copy's path.
std::string installFakeTool(const std::string& folder, const std::string& name);

// The sizes in bytes that the fake bbdmux, mplex and dvdauthor in folder write.
void writeFakeToolSizes(const std::string& folder, long long audio, long long video,
                        long long remux, long long title);
