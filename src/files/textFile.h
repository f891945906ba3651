#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// Far beyond any real path or chapter list: a longer line in a file the program reads is refused.
constexpr std::size_t longestLine = std::size_t{1} << 20;

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
    // As readLine, but keeps at most `limit` bytes of the line and leaves the rest unread; true
    // only when the whole line fit.
    bool readShortLine(std::string& line, std::size_t limit);
    // As readLine, but a line longer than longestLine throws IoError naming the file and the
    // line's number, so that a file of one huge line never takes its size in memory.
    bool readBoundedLine(std::string& line);
    // How many lines were read so far, whole or not.
    std::size_t linesRead() const { return linesRead_; }

private:
    int nextByte();
    // Appends the bytes up to the next line end, CR or Ctrl-Z, at most `limit` of them.
    void appendPlainRun(std::string& line, std::size_t limit);

    const std::string path_;
    std::size_t linesRead_ = 0;
    std::FILE* file_ = nullptr;
    char buffer_[65536];
    std::size_t bufferLength_ = 0;
    std::size_t bufferPosition_ = 0;
    bool ended_ = false;
};

// True when a file (not a folder) exists at path.
bool isExistingFile(const std::string& path);
// The length of the file at path; 0 when there is none or it cannot be measured.
std::uint64_t fileBytesOf(const std::string& path);

// True when the two paths name one file, through links or different spellings; paths of files
// that do not exist yet are compared once their folders and links are resolved.
bool namesSameFile(const std::string& first, const std::string& second);

// The path without the separators that end it ("out/" is "out"); a root stays as it is.
std::filesystem::path withoutTrailingSeparators(std::filesystem::path path);

// Writes bytes to the file at path, creating it, and either emptying it first or appending to
// it; the file is closed again before this returns. Throws IoError on any failure.
void writeToFile(const std::string& path, const std::string& bytes, bool append);
// The same for a file with a fixed name in a shared folder: a symbolic link at path is refused
// (IoError) rather than followed, so a link planted there cannot aim the writes at another file.
void writeToFileItself(const std::string& path, const std::string& bytes, bool append);

// Replaces the file at path by `bytes` without ever leaving it half written: the bytes go to a
// temporary file in the same folder, are flushed to the disk, and the file then takes the old
// one's place. A symbolic link is followed and the file it names replaced; the old file's
// permissions are kept; a file with other hard links is refused, since replacing it would cut
// them and writing it in place would give up the whole-or-nothing save. A temporary file left
// by an earlier save of the same file that was killed is removed. On failure the old file is
// untouched and IoError is thrown.
void writeFileReplacing(const std::string& path, const std::string& bytes);
