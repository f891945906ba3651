#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

// A file written, in large blocks, under a temporary name beside its place, which it takes only
// when kept: a failure or an interruption (SIGINT, SIGTERM, SIGHUP, SIGPIPE; Ctrl-Break on
// Windows) never leaves a partial file under the final name, and removes the temporary one.
// Nothing but that temporary file is ever removed.
class PartFile {
public:
    enum class Step { Opening, Writing, Closing, Renaming };
    // What failed, with the system's reason; the owner names the file in its own terms.
    struct Failure : std::runtime_error {
        Failure(Step failed, const std::string& reason)
            : std::runtime_error(reason), step(failed) {}
        Step step;
    };

    // Throws Failure when the temporary file cannot be created.
    PartFile(std::string finalPath, std::string temporaryPath);
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // Throws Failure when the bytes cannot be written; the temporary file is then gone.
    void write(const std::uint8_t* data, std::size_t size);
    // Flushes and closes the file, which then takes its place. Throws Failure when that fails.
    void keep();
    std::uint64_t bytesWritten() const { return written_; }

private:
    [[noreturn]] void fail(Step step);

    std::string finalPath_;
    std::string temporaryPath_;
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
    int interruptionSlot_ = -1;  // where the signal handler finds the temporary name
};
