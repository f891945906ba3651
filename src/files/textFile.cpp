#include "files/textFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "files/ioError.h"
#include "language/language.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int endOfFile = -1;
constexpr char ctrlZ = 26;

}  // namespace

TextLineReader::TextLineReader(const std::string& path) : path_(path) {
    if (isExistingFile(path)) {
        file_ = std::fopen(path.c_str(), "rb");
    } else {
        errno = fs::is_directory(path) ? EACCES : ENOENT;
    }
    if (file_ == nullptr) {
        throw ioErrorFromErrno(errno);
    }
}

TextLineReader::~TextLineReader() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

int TextLineReader::nextByte() {
    if (ended_) {
        return endOfFile;
    }
    if (bufferPosition_ == bufferLength_) {
        bufferLength_ = std::fread(buffer_, 1, sizeof buffer_, file_);
        bufferPosition_ = 0;
        if (bufferLength_ == 0) {
            if (std::ferror(file_)) {
                throw ioErrorFromErrno(errno);
            }
            ended_ = true;
            return endOfFile;
        }
    }
    const char byte = buffer_[bufferPosition_++];
    if (byte == ctrlZ) {
        ended_ = true;
        return endOfFile;
    }
    return static_cast<unsigned char>(byte);
}

void TextLineReader::appendPlainRun(std::string& line, std::size_t limit) {
    const char* run = buffer_ + bufferPosition_;
    std::size_t length = 0;
    while (length < limit && bufferPosition_ + length < bufferLength_ && run[length] != '\n' &&
           run[length] != '\r' && run[length] != ctrlZ) {
        ++length;
    }
    line.append(run, length);
    bufferPosition_ += length;
}

bool TextLineReader::readLine(std::string& line) {
    line.clear();
    int byte = nextByte();
    if (byte == endOfFile) {
        return false;
    }
    ++linesRead_;
    while (byte != endOfFile && byte != '\n') {
        if (byte != '\r') {
            line.push_back(static_cast<char>(byte));
        }
        // Take the plain bytes up to the next line end, carriage return or Ctrl-Z at once.
        appendPlainRun(line, std::string::npos);
        byte = nextByte();
    }
    return true;
}

bool TextLineReader::readShortLine(std::string& line, std::size_t limit) {
    line.clear();
    for (bool first = true;; first = false) {
        const int byte = nextByte();
        if (first && byte != endOfFile) {
            ++linesRead_;
        }
        if (byte == endOfFile || byte == '\n') {
            return true;
        }
        if (byte == '\r') {
            continue;
        }
        if (line.size() == limit) {
            --bufferPosition_;  // the byte stays for whoever reads on
            return false;
        }
        line.push_back(static_cast<char>(byte));
        appendPlainRun(line, limit - line.size());
    }
}

bool TextLineReader::readBoundedLine(std::string& line) {
    const std::size_t before = linesRead_;
    if (!readShortLine(line, longestLine)) {
        line.clear();
        throw IoError(path_ + language::lineTooLongAt + std::to_string(linesRead_) +
                      language::lineTooLongEnd);
    }
    return linesRead_ != before;
}

bool isExistingFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

std::uint64_t fileBytesOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? 0 : static_cast<std::uint64_t>(size);
}

fs::path withoutTrailingSeparators(fs::path path) {
    while (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    return path;
}

bool namesSameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    if (fs::equivalent(first, second, error)) {
        return true;
    }
    // A folder that does not exist yet is the same with a separator after its name or without.
    const fs::path firstPlace = withoutTrailingSeparators(fs::weakly_canonical(first, error));
    if (error) {
        return false;
    }
    const fs::path secondPlace = withoutTrailingSeparators(fs::weakly_canonical(second, error));
    return !error && firstPlace == secondPlace;
}

namespace {

// Writes the bytes and closes the file, which is closed whatever happens.
void writeAndClose(std::FILE* file, const std::string& bytes) {
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    int failure = written ? 0 : errno;
    if (std::fclose(file) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        throw ioErrorFromErrno(failure);
    }
}

}  // namespace

void writeToFile(const std::string& path, const std::string& bytes, bool append) {
    std::FILE* file = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (file == nullptr) {
        throw ioErrorFromErrno(errno);
    }
    writeAndClose(file, bytes);
}

void writeToFileItself(const std::string& path, const std::string& bytes, bool append) {
#ifndef _WIN32
    const int descriptor =
        open(path.c_str(),
             O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (append ? O_APPEND : O_TRUNC), 0666);
    if (descriptor < 0) {
        throw ioErrorFromErrno(errno);
    }
    std::FILE* file = fdopen(descriptor, "ab");
    if (file == nullptr) {
        const int failure = errno;
        close(descriptor);
        throw ioErrorFromErrno(failure);
    }
    writeAndClose(file, bytes);
#else
    // Windows makes no symbolic links without special rights; the file is opened as it is.
    writeToFile(path, bytes, append);
#endif
}
