#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "mpeg/audioFrames.h"

namespace mpeg {

// Cuts an audio elementary stream into runs of whole units, each with the time stamp that its
// packet gives it: whole frames of a format with frame headers, whole sample groups of LPCM. A
// unit cut by the stream's end is left out, and so is anything between frames where the stream
// lost its frame sync. Before the first time stamp's unit nothing is passed on: a stream that
// begins at any byte begins where its first whole unit is named.
class AudioUnits {
public:
    struct Run {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        std::int64_t units = 0;
        double unitTicks = 0;
        std::optional<std::int64_t> pts;  // of the run's first unit
        std::uint64_t filePosition = 0;   // of the packet the run begins in
    };
    using RunHandler = std::function<void(const Run&)>;

    // For formats with frame headers.
    AudioUnits(AudioFormat format, RunHandler handler);
    // For LPCM.
    AudioUnits(const LpcmLayout& layout, RunHandler handler);

    // The next packet's payload. unitOffset: where in it the first unit that begins in it
    // begins, as the packet's header names it (nullopt: it names none; MPEG audio names none and
    // its time stamp is that of the first frame found in the packet).
    void feed(const std::uint8_t* data, std::size_t size, std::optional<std::size_t> unitOffset,
              std::optional<std::int64_t> pts, std::uint64_t filePosition);
    // The stream has ended.
    void finish();

    std::uint64_t bytesPassedOver() const { return bytesPassedOver_; }

private:
    struct Stamp {
        std::uint64_t offset = 0;  // in the elementary stream
        std::uint64_t end = 0;     // the end of its packet: a unit beginning later is not its own
        std::int64_t pts = 0;
    };
    struct PacketStart {
        std::uint64_t offset = 0;
        std::uint64_t filePosition = 0;
    };

    void process(bool atEnd);
    void begin(bool atEnd);
    std::optional<std::size_t> frameAt(std::size_t at) const;
    bool resynchronise(bool atEnd);
    void emit(std::size_t length, std::int64_t units, double unitTicks);
    std::optional<std::int64_t> stampFor(std::uint64_t offset);
    std::uint64_t filePositionOf(std::uint64_t offset);
    std::uint64_t offsetOf(std::size_t at) const { return dropped_ + at; }
    void compact();

    RunHandler handler_;
    std::optional<AudioFormat> format_;
    std::size_t groupBytes_ = 0;
    double groupTicks_ = 0;
    std::vector<std::uint8_t> pending_;
    std::size_t at_ = 0;
    std::uint64_t dropped_ = 0;  // bytes of the stream before pending_[0]
    std::deque<Stamp> stamps_;
    std::deque<PacketStart> packets_;
    bool begun_ = false;
    std::uint64_t bytesPassedOver_ = 0;
};

}  // namespace mpeg
