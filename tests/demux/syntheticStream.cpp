#include "syntheticStream.h"

#include "support/timeStampBytes.h"

namespace {

const std::string packHeader("\x00\x00\x01\xba\x44\x00\x04\x00\x04\x01\x01\x89\xc3\xf8", 14);

}  // namespace

void SyntheticStream::packet(int streamId, const std::string& header, const std::string& payload,
                             std::optional<std::int64_t> pts) {
    const std::string stamp = pts ? timeStampBytes(*pts) : std::string();
    const std::string pesHeader = std::string("\x81", 1) + (pts ? "\x80" : std::string(1, '\0')) +
                                  static_cast<char>(stamp.size()) + stamp;
    const std::size_t length = pesHeader.size() + header.size() + payload.size();
    bytes_ += packHeader;
    bytes_ += std::string("\x00\x00\x01", 3) + static_cast<char>(streamId) +
              static_cast<char>(length >> 8) + static_cast<char>(length & 0xff);
    bytes_ += pesHeader + header + payload;
}

void SyntheticStream::video(const std::string& bytes, std::optional<std::int64_t> pts) {
    packet(0xe0, std::string(), bytes, pts);
}

void SyntheticStream::privateAudio(int subStream, const std::string& bytes,
                                   std::optional<std::int64_t> pts, int pointer) {
    std::string header{static_cast<char>(subStream), '\x01', static_cast<char>(pointer >> 8),
                       static_cast<char>(pointer & 0xff)};
    if (subStream >= 0xa0) {
        header += std::string("\x00\x01\x80", 3);  // 16 bits, 48 kHz, stereo
    }
    packet(0xbd, header, bytes, pts);
}

void SyntheticStream::subpicture(int subStream, const std::string& bytes,
                                 std::optional<std::int64_t> pts) {
    packet(0xbd, std::string(1, static_cast<char>(subStream)), bytes, pts);
}

void SyntheticStream::mpegAudio(int streamId, const std::string& bytes,
                                std::optional<std::int64_t> pts) {
    packet(streamId, std::string(), bytes, pts);
}

std::string sequenceHeader() {
    return std::string("\x00\x00\x01\xb3\x2d\x02\x40\x23\xff\xff\xe0\x18", 12) +
           std::string("\x00\x00\x01\xb5\x14\x8a\x00\x01\x00\x00", 10);
}

std::string groupHeader(bool closed) {
    return std::string("\x00\x00\x01\xb8\x00\x08\x00", 7) + (closed ? '\x40' : '\x00');
}

std::string picture(int temporalReference, int codingType) {
    return std::string("\x00\x00\x01\x00", 4) + static_cast<char>(temporalReference >> 2) +
           static_cast<char>(((temporalReference & 3) << 6) | (codingType << 3)) +
           std::string("\xff\xf8\x00\x00\x01\x01", 6) + std::string(200, 'v');
}

std::string ac3Frame(char mark) {
    // Sync word, CRC, 48 kHz at code 0 (64 words), version 8, stereo, then the filler.
    return std::string("\x0b\x77\x00\x00\x00\x40\x40", 7) + std::string(121, mark);
}

std::string mp2Frame(char mark) {
    // MPEG-1 layer II without CRC, 32 kbit/s, 48 kHz, mono: 144 * 32000 / 48000 bytes.
    return std::string("\xff\xfd\x14\xc0", 4) + std::string(92, mark);
}
