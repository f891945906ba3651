#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "files/partFile.h"
#include "mpeg/titleTimeline.h"

namespace demux {

// The file an extraction writes: a part file (see files/partFile.h) beside its place, never the
// source itself.
class OutputFile : public mpeg::ByteSink {
public:
    // Throws DemuxError when the path names the source (as a file, through any link or
    // spelling), a symbolic link to nothing, or something that is not a file, and when the file
    // cannot be created.
    OutputFile(const std::string& path, const std::string& source);

    // Throws DemuxError when the bytes cannot be written.
    void write(const std::uint8_t* data, std::size_t size) override;
    // Flushes and closes the file, which then takes its place. Throws DemuxError when that fails.
    void keep();
    std::uint64_t bytesWritten() const { return part_.bytesWritten(); }
    // Where the file goes, a link at it resolved.
    const std::string& place() const { return path_; }

private:
    std::string path_;  // where the file goes, a link at it resolved
    PartFile part_;
};

}  // namespace demux
