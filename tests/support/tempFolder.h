#pragma once

#include <string>
#include <vector>

// A fresh folder for one test, removed with everything in it when the test ends.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing separator.
    const std::string& path() const { return path_; }
    // A path inside the folder, with the system's separators as a user's paths have them; the
    // name may hold '/' between its folders.
    std::string file(const std::string& name) const;
    // Makes a one-byte file inside the folder, with the folders on its way, and returns its path.
    std::string touch(const std::string& name) const;

private:
    std::string path_;
};

// folder + '/' + name, with the system's separators throughout: '\\' on Windows.
std::string pathInFolder(const std::string& folder, const std::string& name);

std::string readBytes(const std::string& path);
// The names of what a folder holds, sorted.
std::vector<std::string> namesIn(const std::string& folder);
void writeBytes(const std::string& path, const std::string& bytes);
