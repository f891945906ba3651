#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Numbers and texts put at fixed places of a sector held in memory, in the byte orders that the
// two file systems of a DVD image use.
namespace dvdimage {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t sectorSize = 2048;

inline void putLittle16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putLittle32(std::uint8_t* at, std::uint32_t value) {
    putLittle16(at, value & 0xffff);
    putLittle16(at + 2, value >> 16);
}

inline void putLittle64(std::uint8_t* at, std::uint64_t value) {
    putLittle32(at, static_cast<std::uint32_t>(value));
    putLittle32(at + 4, static_cast<std::uint32_t>(value >> 32));
}

inline void putBig16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

inline void putBig32(std::uint8_t* at, std::uint32_t value) {
    putBig16(at, value >> 16);
    putBig16(at + 2, value & 0xffff);
}

// ISO 9660 records many numbers twice, little-endian first, so that any reader takes its own.
inline void putBoth16(std::uint8_t* at, std::uint32_t value) {
    putLittle16(at, value);
    putBig16(at + 2, value);
}

inline void putBoth32(std::uint8_t* at, std::uint32_t value) {
    putLittle32(at, value);
    putBig32(at + 4, value);
}

// The text at the field's start, the rest of the field filled with `filler`; a longer text is cut.
inline void putText(std::uint8_t* at, std::size_t fieldLength, const std::string& text,
                    std::uint8_t filler) {
    for (std::size_t index = 0; index < fieldLength; ++index) {
        at[index] = index < text.size() ? static_cast<std::uint8_t>(text[index]) : filler;
    }
}

inline std::uint64_t sectorsFor(std::uint64_t bytes) {
    return (bytes + sectorSize - 1) / sectorSize;
}

}  // namespace dvdimage
