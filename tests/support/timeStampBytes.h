#pragma once

#include <cstdint>
#include <string>

// The five bytes that code a PES packet's presentation time stamp (a PTS without a DTS).
inline std::string timeStampBytes(std::int64_t pts) {
    std::string stamp(5, '\0');
    stamp[0] = static_cast<char>(0x21 | ((pts >> 29) & 0x0e));
    stamp[1] = static_cast<char>((pts >> 22) & 0xff);
    stamp[2] = static_cast<char>(0x01 | ((pts >> 14) & 0xfe));
    stamp[3] = static_cast<char>((pts >> 7) & 0xff);
    stamp[4] = static_cast<char>(0x01 | ((pts << 1) & 0xfe));
    return stamp;
}
