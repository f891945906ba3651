#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A DVD-like program stream made byte by byte, one pack per PES packet, so that the tests know
// every time stamp and frame boundary in it.
class SyntheticStream {
public:
    void video(const std::string& bytes, std::optional<std::int64_t> pts = std::nullopt);
    // A private-stream-1 packet; pointer is the first access unit pointer as the header codes it
    // (counted from its own last byte, 0 for none).
    void privateAudio(int subStream, const std::string& bytes, std::optional<std::int64_t> pts,
                      int pointer);
    void mpegAudio(int streamId, const std::string& bytes, std::optional<std::int64_t> pts);
    // A subpicture packet: sub-stream 0x20 to 0x3f of private stream 1, no header of its own.
    void subpicture(int subStream, const std::string& bytes, std::optional<std::int64_t> pts);
    void garbage(const std::string& bytes) { bytes_ += bytes; }

    const std::string& bytes() const { return bytes_; }

private:
    void packet(int streamId, const std::string& header, const std::string& payload,
                std::optional<std::int64_t> pts);

    std::string bytes_;
};

// Ticks of one 25 fps frame, and of one AC-3 frame (1536 samples at 48 kHz).
constexpr std::int64_t frameTicks = 3600;
constexpr std::int64_t ac3FrameTicks = 2880;

// A sequence header of 720x576 at 25 frames per second with its MPEG-2 extension, and a group
// header.
std::string sequenceHeader();
std::string groupHeader(bool closed);
// A picture header and one slice of filler.
std::string picture(int temporalReference, int codingType);

// A 128-byte AC-3 frame (48 kHz, stereo, 32 kbit/s) whose body is filled with `mark`.
std::string ac3Frame(char mark);
// A 96-byte MPEG-1 layer II frame (48 kHz, 32 kbit/s, mono) filled with `mark`.
std::string mp2Frame(char mark);
