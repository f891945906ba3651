#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "mpeg/audioFrames.h"

namespace demux {

class OutputFile;

// Passes an audio elementary stream on in whole units only: whole frames of a format with frame
// headers, whole sample groups of LPCM. The first units may be left out, a unit cut by the
// stream's end is, and so is anything between frames where the stream lost its frame sync.
class UnitWriter {
public:
    // For formats with frame headers.
    UnitWriter(OutputFile& output, mpeg::AudioFormat format);
    // For LPCM, in groups of groupBytes.
    UnitWriter(OutputFile& output, std::size_t groupBytes);

    // The next `count` whole units are left out.
    void leaveOut(std::int64_t count) { toLeaveOut_ = count; }
    void feed(const std::uint8_t* data, std::size_t size);
    // The stream has ended: what is left is no whole unit.
    void finish();

    std::int64_t unitsLeftOut() const { return unitsLeftOut_; }
    std::uint64_t bytesPassedOver() const { return bytesPassedOver_; }

private:
    void process(bool atEnd);
    // The length of the whole frame at offset, nullopt when no valid header is there.
    std::optional<std::size_t> frameAt(std::size_t offset) const;
    // Finds the next frame whose successor also begins with a valid header; false when more data
    // is needed to tell.
    bool resynchronise(bool atEnd);
    void emit(std::size_t length);

    OutputFile& output_;
    std::optional<mpeg::AudioFormat> format_;
    std::size_t groupBytes_ = 0;
    std::vector<std::uint8_t> pending_;
    std::size_t at_ = 0;
    std::int64_t toLeaveOut_ = 0;
    std::int64_t unitsLeftOut_ = 0;
    std::uint64_t bytesPassedOver_ = 0;
};

}  // namespace demux
