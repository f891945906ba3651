#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "mpeg/titleTimeline.h"

namespace demux {

// The file an extraction writes, in large blocks. It is written under a temporary name beside its
// place and takes that place only when kept, so that a failure or an interruption never leaves a
// partial stream under the final name, and nothing but that temporary file is ever removed.
class OutputFile : public mpeg::ByteSink {
public:
    // Throws DemuxError when the path names the source (as a file, through any link or
    // spelling), a symbolic link to nothing, or something that is not a file, and when the file
    // cannot be created.
    OutputFile(const std::string& path, const std::string& source);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws DemuxError when the bytes cannot be written.
    void write(const std::uint8_t* data, std::size_t size) override;
    // Flushes and closes the file, which then takes its place. Throws DemuxError when that fails.
    void keep();
    std::uint64_t bytesWritten() const { return written_; }
    // Where the file goes, a link at it resolved.
    const std::string& place() const { return path_; }

private:
    [[noreturn]] void fail();

    std::string path_;       // where the file goes, a link at it resolved
    std::string temporary_;  // where it is written
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
    int interruptionSlot_ = -1;  // where the signal handler finds the temporary name
};

}  // namespace demux
