#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <string>

// A file that lives in memory (memfd) for as long as the fuzzer: the loaders under test take a
// path, and a file on a disk file system would spend most of each execution in the kernel. The
// system removes it when the fuzzer ends.
class MemoryFile {
public:
    MemoryFile() : descriptor_(memfd_create("marovink-fuzz", MFD_CLOEXEC)) {
        if (descriptor_ < 0) {
            std::abort();
        }
        path_ = "/proc/self/fd/" + std::to_string(descriptor_);
    }
    ~MemoryFile() { close(descriptor_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Makes the file hold exactly these bytes; returns its path.
    const std::string& holding(const void* data, std::size_t size) {
        if (ftruncate(descriptor_, 0) != 0 ||
            (size > 0 && pwrite(descriptor_, data, size, 0) != static_cast<ssize_t>(size))) {
            std::abort();
        }
        return path_;
    }
    const std::string& holding(const std::string& bytes) {
        return holding(bytes.data(), bytes.size());
    }

private:
    int descriptor_;
    std::string path_;
};
