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

// The temporary files being written, for the signal handler: an interrupted run leaves nothing.
// One pass may write every stream of a title: its video, 8 audio and 32 subtitle streams.
constexpr int mostOpenOutputs = 48;
char interruptedFiles[mostOpenOutputs][4096];
std::atomic<bool> handlersInstalled{false};

extern "C" void removeAndEnd(int signal) {
    for (const char* file : interruptedFiles) {
        if (file[0] != '\0') {
            std::remove(file);
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The slot that names the file for the handler, or -1 when none is free or the name too long.
int removeOnInterruption(const std::string& temporary) {
    int slot = -1;
    for (int index = 0; index < mostOpenOutputs && slot < 0; ++index) {
        if (interruptedFiles[index][0] == '\0') {
            slot = index;
        }
    }
    if (slot < 0 || temporary.size() >= sizeof interruptedFiles[0]) {
        return -1;
    }
    std::memcpy(interruptedFiles[slot], temporary.c_str(), temporary.size() + 1);
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
    return slot;
}

void forgetInterruption(int slot) {
    if (slot >= 0) {
        interruptedFiles[slot][0] = '\0';
    }
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
    interruptionSlot_ = removeOnInterruption(temporary_);
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) {
        const std::string why = reason();
        forgetInterruption(interruptionSlot_);
        throw DemuxError(path + ": " + why);
    }
    std::setvbuf(file_, nullptr, _IOFBF, outputBufferSize);
}

OutputFile::~OutputFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(temporary_.c_str());
    }
    forgetInterruption(interruptionSlot_);
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
