#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mpeg {

// Time stamps of a program stream, in ticks of its 90 kHz clock.
constexpr std::int64_t ticksPerSecond = 90000;

// Stream identifiers as DVD-Video uses them: the PES stream id, except for private stream 1, whose
// packets are named by their sub-stream number (0x80 the first AC-3 track, 0xa0 the first LPCM
// track, 0x20 the first subpicture).
constexpr int privateStream1 = 0xbd;
constexpr int firstVideoStream = 0xe0;
// Private stream 2 carries the NAV packs of DVD-Video; the reader hands it over under its own id.
constexpr int navigationStream = 0xbf;

// One PES packet's payload, as the reader hands it over.
struct PesPacket {
    int streamId = 0;  // as above: a sub-stream number for private stream 1
    std::optional<std::int64_t> pts;
    // Offset in payload of the first access unit (audio frame) that begins in this packet, as
    // the DVD sub-stream header gives it for private-stream-1 audio; nullopt when the header
    // names none or the stream has no such header.
    std::optional<std::size_t> firstAccessUnit;
    // LPCM only: the three bytes of its sub-stream header after the pointer.
    std::uint8_t lpcmHeader[3] = {0, 0, 0};
    const std::uint8_t* payload = nullptr;  // the elementary stream's bytes only
    std::size_t size = 0;
    // Where the packet begins in the file, and the system clock reference of the pack it came in
    // (nullopt before the first pack header).
    std::uint64_t filePosition = 0;
    std::optional<std::int64_t> clockReference;
};

// Reads an MPEG-1 or MPEG-2 program stream (a VOB) from start to end in large blocks, and hands
// every PES packet of an audio, video or subpicture stream, and of the navigation stream, to the
// callback. Garbage between
// packets, as at the start of a file cut at any byte, is skipped up to the next start code.
class ProgramStreamReader {
public:
    // Returns false to stop reading.
    using PacketHandler = std::function<bool(const PesPacket&)>;

    // Throws std::runtime_error with the system's reason when the file cannot be opened.
    explicit ProgramStreamReader(const std::string& path);
    ~ProgramStreamReader();
    ProgramStreamReader(const ProgramStreamReader&) = delete;
    ProgramStreamReader& operator=(const ProgramStreamReader&) = delete;

    std::uint64_t fileSize() const { return fileSize_; }

    // Reads from byte offset `from` (0: the start) to the end, or until the handler returns false
    // or `limit` bytes were read. Throws std::runtime_error when the file cannot be read.
    void read(const PacketHandler& handler, std::uint64_t from = 0,
              std::uint64_t limit = UINT64_MAX);

private:
    // Parses the packets in buffer_[0, end); returns how many bytes were used. A packet cut by
    // the end of the buffer is left for the next call unless atEnd.
    std::size_t parse(std::size_t end, bool atEnd, const PacketHandler& handler, bool& stop);

    std::FILE* file_ = nullptr;
    // Whether the bytes at the parse position follow a pack header: outside one, only a pack
    // header is trusted.
    bool synchronised_ = false;
    std::optional<std::int64_t> clockReference_;
    std::uint64_t bufferPosition_ = 0;  // where buffer_[0] lies in the file
    std::uint64_t fileSize_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// A stream id as the command lines and messages write it: "0x80".
std::string streamIdText(int streamId);

// The 33-bit time stamp coded in the five bytes at p (PTS or DTS of a PES header).
std::int64_t decodeTimeStamp(const std::uint8_t* p);

}  // namespace mpeg
