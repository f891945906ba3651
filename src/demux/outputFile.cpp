#include "demux/outputFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "demux/streamExtraction.h"

namespace demux {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t outputBufferSize = 4 << 20;

std::string reason() {
    return std::generic_category().message(errno);
}

// The temporary file being written, for the signal handler: an interrupted run leaves nothing.
char interruptedFile[4096];
std::atomic<bool> handlersInstalled{false};

extern "C" void removeAndEnd(int signal) {
    if (interruptedFile[0] != '\0') {
        std::remove(interruptedFile);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void removeOnInterruption(const std::string& temporary) {
    if (temporary.size() >= sizeof interruptedFile) {
        return;
    }
    std::memcpy(interruptedFile, temporary.c_str(), temporary.size() + 1);
    if (!handlersInstalled.exchange(true)) {
#ifdef _WIN32
        const int signals[] = {SIGINT, SIGTERM, SIGBREAK};
#else
        const int signals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
#endif
        for (const int signal : signals) {
            std::signal(signal, removeAndEnd);
        }
    }
}

void forgetInterruption() {
    interruptedFile[0] = '\0';
}

int processNumber() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// Where the output goes: a link to a file is followed, as writing through it always was.
std::string placeOf(const std::string& path, const std::string& source) {
    std::error_code error;
    const fs::file_status link = fs::symlink_status(path, error);
    fs::path place = path;
    if (fs::is_symlink(link)) {
        if (!fs::exists(path, error)) {
            throw DemuxError(path +
                             ": is a symbolic link to nothing, which an output never follows");
        }
        place = fs::canonical(path, error);
        if (error) {
            throw DemuxError(path + ": " + error.message());
        }
        // A link into no folder (a descriptor's, in /proc) has no place beside it to write to.
        if (!fs::exists(place, error)) {
            throw DemuxError(path +
                             ": is a symbolic link to no file in a folder, which an output "
                             "never follows");
        }
    }
    const fs::file_status status = fs::status(place, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        throw DemuxError(path + ": is not a file, and is left as it is");
    }
    if (fs::exists(status) && fs::equivalent(place, source, error)) {
        throw DemuxError(path + ": is the source " + source +
                         " itself, which an output never replaces");
    }
    return place.string();
}

}  // namespace

OutputFile::OutputFile(const std::string& path, const std::string& source)
    : path_(placeOf(path, source)),
      temporary_(path_ + ".bbdmux-" + std::to_string(processNumber()) + ".part") {
    removeOnInterruption(temporary_);
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) {
        const std::string why = reason();
        forgetInterruption();
        throw DemuxError(path + ": " + why);
    }
    std::setvbuf(file_, nullptr, _IOFBF, outputBufferSize);
}

OutputFile::~OutputFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(temporary_.c_str());
    }
    forgetInterruption();
}

void OutputFile::write(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
        fail();
    }
    written_ += size;
}

void OutputFile::keep() {
    if (std::fflush(file_) != 0) {
        fail();
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) {
        const std::string why = reason();
        std::remove(temporary_.c_str());
        throw DemuxError(path_ + ": " + why);
    }
    std::error_code error;
    fs::rename(temporary_, path_, error);
    if (error) {
        std::remove(temporary_.c_str());
        throw DemuxError(path_ + ": " + error.message());
    }
}

void OutputFile::fail() {
    const std::string why = reason();
    std::fclose(file_);
    file_ = nullptr;
    std::remove(temporary_.c_str());
    throw DemuxError(path_ + ": " + why);
}

}  // namespace demux
