#pragma once

#include <cstdio>
#include <string>

// Reads an 8-bit text file line by line. A line ends at LF or CR LF, a lone CR is dropped, and a
// Ctrl-Z ends the file. Memory stays in proportion to the longest line.
class TextLineReader {
public:
    // Throws IoError when the file cannot be opened.
    explicit TextLineReader(const std::string& path);
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    // The next line into `line`; false, with `line` empty, when the file has no more lines.
    bool readLine(std::string& line);

private:
    int nextByte();

    std::FILE* file_ = nullptr;
    char buffer_[65536];
    std::size_t bufferLength_ = 0;
    std::size_t bufferPosition_ = 0;
    bool ended_ = false;
};

// True when a file (not a folder) exists at path.
bool isExistingFile(const std::string& path);

// Writes bytes to the file at path, creating it, and either emptying it first or appending to
// it; the file is closed again before this returns. Throws IoError on any failure.
void writeToFile(const std::string& path, const std::string& bytes, bool append);

// Replaces the file at path by `bytes` without ever leaving it half written: the bytes go to a
// temporary file in the same folder, which then takes the old file's place. On failure the old
// file is untouched and IoError is thrown.
void writeFileReplacing(const std::string& path, const std::string& bytes);
