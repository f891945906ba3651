#include "demux/outputFile.h"

#include <cerrno>
#include <system_error>

#include "demux/streamExtraction.h"

namespace demux {

namespace {

constexpr std::size_t outputBufferSize = 4 << 20;

std::string reason() {
    return std::generic_category().message(errno);
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) {
        throw DemuxError(path_ + ": " + reason());
    }
    std::setvbuf(file_, nullptr, _IOFBF, outputBufferSize);
}

OutputFile::~OutputFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(path_.c_str());
    }
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
        std::remove(path_.c_str());
        throw DemuxError(path_ + ": " + why);
    }
}

void OutputFile::fail() {
    const std::string why = reason();
    std::fclose(file_);
    file_ = nullptr;
    std::remove(path_.c_str());
    throw DemuxError(path_ + ": " + why);
}

}  // namespace demux
