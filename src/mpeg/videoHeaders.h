#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mpeg {

// MPEG video start codes, the byte after 00 00 01.
constexpr int pictureStartCode = 0x00;
constexpr int sequenceHeaderCode = 0xb3;
constexpr int extensionStartCode = 0xb5;
constexpr int groupStartCode = 0xb8;

// The position of the next 00 00 01 prefix in data[from, size) that has its code byte, or size.
std::size_t nextStartCode(const std::uint8_t* data, std::size_t from, std::size_t size);

// Whether a sequence header or group start code begins in stream[from, end), counting one whose
// prefix began up to three bytes before `from`: the cheap test of whether a new packet can
// change what findVideoStart says.
bool holdsGroupOrSequenceStart(const std::vector<std::uint8_t>& stream, std::size_t from);

struct SequenceHeader {
    int frameRateCode = 0;
    double frameTicks = 0;    // 90 kHz ticks per frame; 0 when the code is unknown
    std::string standard;     // "PAL", "NTSC", or empty
    bool wideScreen = false;  // shown at 16:9 (or 2.21:1), not 4:3
};
// Reads the sequence header whose start code is at p (at least 12 bytes readable).
SequenceHeader readSequenceHeader(const std::uint8_t* p);

// A PES time stamp and where its packet's payload begins in the elementary stream.
struct TimeStampMark {
    std::size_t offset = 0;
    std::int64_t pts = 0;
};

// A picture of a video elementary stream: where it begins, in which group of pictures (counted
// by the group headers before it), and the time stamp of its access unit, if it has one.
struct PictureStamp {
    std::size_t offset = 0;
    int group = 0;
    int temporalReference = 0;
    std::optional<std::int64_t> pts;
};
// The pictures from `from` on; marks give the time stamps of the PES packets, by ascending offset.
std::vector<PictureStamp> picturesOf(const std::vector<std::uint8_t>& stream,
                                     const std::vector<TimeStampMark>& marks, std::size_t from);

// Where a video elementary stream can begin and when its first picture is shown.
struct VideoStart {
    std::size_t sequenceHeader = 0;         // offset of the first sequence header
    std::optional<std::size_t> firstGroup;  // offset of the first group-of-pictures header
    SequenceHeader sequence;
    // The earliest presentation time of the first group's pictures, leading B-pictures
    // included; nullopt when no picture of the group carries a time stamp.
    std::optional<std::int64_t> presentation;
    bool groupComplete = false;  // the next group (or the stream's end) was seen
};

// Looks for the start in the first bytes of a video elementary stream; marks give the time stamps
// of its PES packets, by ascending offset. nullopt when no sequence header is there yet.
// atEnd: the stream ends after these bytes.
std::optional<VideoStart> findVideoStart(const std::vector<std::uint8_t>& stream,
                                         const std::vector<TimeStampMark>& marks, bool atEnd);

// When the last picture of these bytes (a stream's tail) is shown, in 90 kHz ticks; nullopt when
// no group of pictures in them carries a time stamp.
std::optional<std::int64_t> lastPresentation(const std::vector<std::uint8_t>& stream,
                                             const std::vector<TimeStampMark>& marks,
                                             double frameTicks);

}  // namespace mpeg
