#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace mpeg {

// A frame of silence in the same format as the AC-3 frame at `frame` (sample rate, channels, bit
// rate and the rest of its stream information copied), with both of its checksums right, so
// that an audio stream can begin earlier without changing its format. nullopt when the frame's
// stream information cannot be read.
std::optional<std::vector<std::uint8_t>> silentAc3Frame(const std::uint8_t* frame,
                                                        std::size_t length);

// A frame of silence in the format of the MPEG audio frame header at `header` (4 bytes).
std::optional<std::vector<std::uint8_t>> silentMpegAudioFrame(const std::uint8_t* header);

// The AC-3 checksum: CRC-16 with the polynomial x^16 + x^15 + x^2 + 1, starting from 0.
std::uint16_t ac3Crc(const std::uint8_t* data, std::size_t size, std::uint16_t crc = 0);

}  // namespace mpeg
