#include "files/partFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr std::size_t bufferSize = 4 << 20;

std::string reason() {
    return std::generic_category().message(errno);
}

// The temporary files being written, for the signal handler: an interrupted program leaves
// nothing. One pass of the demultiplexer may write every stream of a title: its video, 8 audio
// and 32 subtitle streams.
constexpr int mostOpenFiles = 48;
char interruptedFiles[mostOpenFiles][4096];
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
    for (int index = 0; index < mostOpenFiles && slot < 0; ++index) {
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

}  // namespace

PartFile::PartFile(std::string finalPath, std::string temporaryPath)
    : finalPath_(std::move(finalPath)), temporaryPath_(std::move(temporaryPath)) {
    interruptionSlot_ = removeOnInterruption(temporaryPath_);
    file_ = std::fopen(temporaryPath_.c_str(), "wb");
    if (file_ == nullptr) {
        const std::string why = reason();
        forgetInterruption(interruptionSlot_);
        throw Failure(Step::Opening, why);
    }
    std::setvbuf(file_, nullptr, _IOFBF, bufferSize);
}

PartFile::~PartFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(temporaryPath_.c_str());
    }
    forgetInterruption(interruptionSlot_);
}

void PartFile::write(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
        fail(Step::Writing);
    }
    written_ += size;
}

void PartFile::keep() {
    if (std::fflush(file_) != 0) {
        fail(Step::Writing);
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) {
        const std::string why = reason();
        std::remove(temporaryPath_.c_str());
        throw Failure(Step::Closing, why);
    }
    std::error_code error;
    std::filesystem::rename(temporaryPath_, finalPath_, error);
    if (error) {
        std::remove(temporaryPath_.c_str());
        throw Failure(Step::Renaming, error.message());
    }
}

void PartFile::fail(Step step) {
    const std::string why = reason();
    std::fclose(file_);
    file_ = nullptr;
    std::remove(temporaryPath_.c_str());
    throw Failure(step, why);
}
