#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "mpeg/titleTimeline.h"

namespace demux {

// The file an extraction writes, in large blocks; removed again unless the extraction keeps it.
class OutputFile : public mpeg::ByteSink {
public:
    // Throws DemuxError when the file cannot be created.
    explicit OutputFile(std::string path);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws DemuxError when the bytes cannot be written.
    void write(const std::uint8_t* data, std::size_t size) override;
    // Flushes and closes the file, which then stays. Throws DemuxError when that fails.
    void keep();
    std::uint64_t bytesWritten() const { return written_; }

private:
    [[noreturn]] void fail();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
};

}  // namespace demux
