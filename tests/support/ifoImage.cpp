#include "support/ifoImage.h"

#include <cstdint>

namespace {

constexpr std::size_t sector = 2048;

void put16(std::string& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<char>(value >> 8 & 0xFF);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
}

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value >> 16);
    put16(bytes, at + 2, value & 0xFFFF);
}

char bcd(int value) {
    return static_cast<char>((value / 10) << 4 | value % 10);
}

}  // namespace

std::string titleSetIfoBytes(const IfoImage& image) {
    std::string bytes(3 * sector, '\0');
    bytes.replace(0, 12, "DVDVIDEO-VTS");
    put32(bytes, 0xC8, 1);  // chapters of the titles
    put32(bytes, 0xCC, 2);  // program chains
    bytes[0x200] = static_cast<char>((image.pal ? 0x50 : 0x40) |
                                     (image.wideScreen ? 0x0C | image.displayFormat : 0x03));
    put16(bytes, 0x254, static_cast<unsigned>(image.subtitles.size()));
    for (std::size_t i = 0; i < image.subtitles.size(); ++i) {
        const std::size_t at = 0x256 + 6 * i;
        const IfoImage::Subtitle& subtitle = image.subtitles[i];
        if (subtitle.language.size() == 2) {
            bytes[at] = 0x01;
            bytes.replace(at + 2, 2, subtitle.language);
        }
        bytes[at + 5] = static_cast<char>(subtitle.forced ? 9 : 1);
    }
    put16(bytes, 0x202, static_cast<unsigned>(image.audioModes.size()));
    for (std::size_t i = 0; i < image.audioModes.size(); ++i) {
        const std::size_t at = 0x204 + 8 * i;
        const bool named = image.language.size() == 2;
        bytes[at] = static_cast<char>(image.audioModes[i] << 5 | (named ? 0x04 : 0));
        bytes[at + 1] = 0x01;  // two channels
        if (named) {
            bytes.replace(at + 2, 2, image.language);
        }
    }

    const auto chapters = static_cast<std::uint32_t>(image.chapters);
    put16(bytes, sector, 1);
    put32(bytes, sector + 4, 12 + 4 * chapters - 1);
    put32(bytes, sector + 8, 12);
    for (std::uint32_t i = 0; i < chapters; ++i) {
        put16(bytes, sector + 12 + 4 * i, 1);
        put16(bytes, sector + 14 + 4 * i, i + 1);
    }

    // Each chain: its 0xEC bytes, then the position of its one cell.
    const std::size_t chains = 2 * sector;
    const std::size_t chainBytes = 0xF0;
    const auto chainCount = static_cast<std::uint32_t>(image.chainVobIds.size());
    put16(bytes, chains, chainCount);
    put32(bytes, chains + 4, 8 + 8 * chainCount + chainBytes * chainCount - 1);
    for (std::uint32_t c = 0; c < chainCount; ++c) {
        put32(bytes, chains + 8 + 8 * c, c == 0 ? 0x81000000 : 0);  // the entry chain of title 1
        put32(bytes, chains + 12 + 8 * c, 8 + 8 * chainCount + chainBytes * c);
        const std::size_t chain = chains + 8 + 8 * chainCount + chainBytes * c;
        bytes[chain + 2] = static_cast<char>(chapters);
        bytes[chain + 3] = static_cast<char>(chapters);
        bytes[chain + 4] = bcd(image.playbackSeconds / 3600);
        bytes[chain + 5] = bcd(image.playbackSeconds / 60 % 60);
        bytes[chain + 6] = bcd(image.playbackSeconds % 60);
        bytes[chain + 7] = static_cast<char>((image.pal ? 0x40 : 0xC0) | bcd(image.frames));
        for (std::size_t i = 0; i < image.subtitles.size(); ++i) {
            const IfoImage::Subtitle& subtitle = image.subtitles[i];
            for (std::size_t mode = 0; mode < 4; ++mode) {
                bytes[chain + 0x1C + 4 * i + mode] = static_cast<char>(subtitle.streams[mode]);
            }
            if (subtitle.enabled) {
                bytes[chain + 0x1C + 4 * i] = static_cast<char>(bytes[chain + 0x1C + 4 * i] | 0x80);
            }
        }
        for (std::size_t i = 0; i < 16; ++i) {
            put32(bytes, chain + 0xA4 + 4 * i, image.palette[i] + c);
        }
        put16(bytes, chain + 0xEA, 0xEC);
        put16(bytes, chain + 0xEC, static_cast<unsigned>(image.chainVobIds[c]));
    }
    return bytes;
}

std::string videoManagerIfoBytes(int titles) {
    std::string bytes(2 * sector, '\0');
    bytes.replace(0, 12, "DVDVIDEO-VMG");
    put16(bytes, 0x3E, 1);
    put32(bytes, 0xC4, 1);
    const auto count = static_cast<std::uint32_t>(titles);
    put16(bytes, sector, count);
    put32(bytes, sector + 4, 8 + 12 * count - 1);
    return bytes;
}
