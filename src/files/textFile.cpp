#include "files/textFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "files/ioError.h"

namespace fs = std::filesystem;

namespace {

constexpr int endOfFile = -1;
constexpr char ctrlZ = 26;

std::string temporaryPathBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return path + "." + std::to_string(stamp) + "-" + std::to_string(counter++) + ".tmp";
}

}  // namespace

TextLineReader::TextLineReader(const std::string& path) {
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

bool TextLineReader::readLine(std::string& line) {
    line.clear();
    int byte = nextByte();
    if (byte == endOfFile) {
        return false;
    }
    while (byte != endOfFile && byte != '\n') {
        if (byte != '\r') {
            line.push_back(static_cast<char>(byte));
        }
        // Take the plain bytes up to the next line end, carriage return or Ctrl-Z at once.
        const char* run = buffer_ + bufferPosition_;
        std::size_t length = 0;
        while (bufferPosition_ + length < bufferLength_ && run[length] != '\n' &&
               run[length] != '\r' && run[length] != ctrlZ) {
            ++length;
        }
        line.append(run, length);
        bufferPosition_ += length;
        byte = nextByte();
    }
    return true;
}

bool isExistingFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

void writeToFile(const std::string& path, const std::string& bytes, bool append) {
    std::FILE* file = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (file == nullptr) {
        throw ioErrorFromErrno(errno);
    }
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

void writeFileReplacing(const std::string& path, const std::string& bytes) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) {
        throw ioErrorFromErrno(EISDIR);
    }
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        // A file the user protected against writing stays as it is.
        throw ioErrorFromErrno(EACCES);
    }

    const std::string temporary = temporaryPathBeside(path);
    try {
        writeToFile(temporary, bytes, false);
        fs::rename(temporary, path, error);
        if (error) {
            throw ioErrorFromErrno(error.value());
        }
    } catch (const IoError&) {
        fs::remove(temporary, error);
        throw;
    }
}
