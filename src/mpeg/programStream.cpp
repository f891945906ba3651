#include "mpeg/programStream.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "mpeg/videoHeaders.h"

namespace mpeg {

namespace {

// Large blocks keep the number of reads, and so the time spent outside the copy, small.
constexpr std::size_t blockSize = 4 << 20;
// The largest PES packet: its 6-byte head and a 16-bit length.
constexpr std::size_t largestPacket = 6 + 65535;

constexpr int packStartCode = 0xba;
constexpr int programEndCode = 0xb9;
constexpr int systemHeaderCode = 0xbb;

bool isStartCodePrefix(const std::uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 1;
}

// The length of a pack header at p, or 0 when the bytes are no valid one. Its marker bits are
// checked, so that a cut file finds its first real pack rather than a look-alike in the data.
std::size_t packHeaderLength(const std::uint8_t* p, std::size_t available) {
    if (available < 12) {
        return 0;
    }
    if ((p[4] & 0xc4) == 0x44) {  // MPEG-2
        if (available < 14 || (p[6] & 0x04) == 0 || (p[8] & 0x04) == 0 || (p[9] & 0x01) == 0 ||
            (p[12] & 0x03) != 0x03) {
            return 0;
        }
        return 14 + (p[13] & 0x07);
    }
    if ((p[4] & 0xf1) == 0x21 && (p[6] & 0x01) && (p[8] & 0x01) && (p[9] & 0x80)) {  // MPEG-1
        return 12;
    }
    return 0;
}

bool isElementaryStream(int code) {
    return code == privateStream1 || (code >= 0xc0 && code <= 0xef);
}

// The system clock reference's 33-bit base of the valid pack header at p.
std::int64_t clockReferenceOf(const std::uint8_t* p) {
    if ((p[4] & 0xc0) == 0x40) {  // MPEG-2
        return (std::int64_t{(p[4] >> 3) & 0x07} << 30) | (std::int64_t{p[4] & 0x03} << 28) |
               (std::int64_t{p[5]} << 20) | (std::int64_t{p[6] >> 3} << 15) |
               (std::int64_t{p[6] & 0x03} << 13) | (std::int64_t{p[7]} << 5) | (p[8] >> 3);
    }
    return decodeTimeStamp(p + 4);  // MPEG-1 codes it as a time stamp
}

// Fills packet from the PES packet at p (its 6-byte head included); false when its header is
// not one of a PES packet with data.
bool readPesPacket(const std::uint8_t* p, std::size_t length, PesPacket& packet) {
    const int code = p[3];
    std::size_t at = 6;
    if (length < 7) {
        return false;
    }
    if ((p[6] & 0xc0) == 0x80) {  // MPEG-2 header
        if (length < 9) {
            return false;
        }
        const int flags = p[7];
        const std::size_t headerLength = p[8];
        if (9 + headerLength > length) {
            return false;
        }
        if ((flags & 0x80) && headerLength >= 5) {
            packet.pts = decodeTimeStamp(p + 9);
        }
        at = 9 + headerLength;
    } else {  // MPEG-1 header: stuffing, buffer size, then the time stamps
        while (at < length && p[at] == 0xff) {
            ++at;
        }
        if (at < length && (p[at] & 0xc0) == 0x40) {
            at += 2;
        }
        if (at >= length) {
            return false;
        }
        if ((p[at] & 0xf0) == 0x20) {
            if (at + 5 > length) {
                return false;
            }
            packet.pts = decodeTimeStamp(p + at);
            at += 5;
        } else if ((p[at] & 0xf0) == 0x30) {
            if (at + 10 > length) {
                return false;
            }
            packet.pts = decodeTimeStamp(p + at);
            at += 10;
        } else if (p[at] == 0x0f) {
            at += 1;
        } else {
            return false;
        }
    }
    const std::uint8_t* payload = p + at;
    std::size_t size = length - at;
    packet.streamId = code;
    if (code == privateStream1) {
        if (size < 1) {
            return false;
        }
        const int subStream = payload[0];
        packet.streamId = subStream;
        std::size_t headerSize = 1;
        if ((subStream >= 0x80 && subStream <= 0x8f) || (subStream >= 0xa0 && subStream <= 0xa7)) {
            // Frame count, then the first access unit pointer, counted from its own last byte.
            headerSize = subStream >= 0xa0 ? 7 : 4;
            if (size < headerSize) {
                return false;
            }
            const std::size_t pointer = (std::size_t{payload[2]} << 8) | payload[3];
            if (subStream >= 0xa0) {
                std::memcpy(packet.lpcmHeader, payload + 4, 3);
            }
            const std::size_t afterPointer = 4;
            if (pointer != 0 && afterPointer + pointer - 1 >= headerSize) {
                packet.firstAccessUnit = afterPointer + pointer - 1 - headerSize;
            }
        }
        payload += headerSize;
        size -= headerSize;
    }
    packet.payload = payload;
    packet.size = size;
    return true;
}

}  // namespace

std::string streamIdText(int streamId) {
    char name[8];
    std::snprintf(name, sizeof name, "0x%02x", streamId);
    return name;
}

std::int64_t decodeTimeStamp(const std::uint8_t* p) {
    return (std::int64_t{p[0] & 0x0e} << 29) | (std::int64_t{p[1]} << 22) |
           (std::int64_t{p[2] & 0xfe} << 14) | (std::int64_t{p[3]} << 7) | (p[4] >> 1);
}

ProgramStreamReader::ProgramStreamReader(const std::string& path) {
    // A pipe or a device would block or never end: only a file is read.
    std::error_code status;
    if (std::filesystem::exists(path, status) && !std::filesystem::is_regular_file(path, status)) {
        throw std::runtime_error(path + ": is not a file");
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        throw std::runtime_error(path + ": " + std::generic_category().message(errno));
    }
    std::error_code error;
    fileSize_ = std::filesystem::file_size(path, error);
    if (error) {
        std::fclose(file_);
        throw std::runtime_error(path + ": " + error.message());
    }
}

ProgramStreamReader::~ProgramStreamReader() {
    std::fclose(file_);
}

void ProgramStreamReader::read(const PacketHandler& handler, std::uint64_t from,
                               std::uint64_t limit) {
#ifdef _WIN32
    const int seek = _fseeki64(file_, static_cast<long long>(from), SEEK_SET);
#else
    const int seek = fseeko(file_, static_cast<off_t>(from), SEEK_SET);
#endif
    if (seek != 0) {
        throw std::runtime_error(std::generic_category().message(errno));
    }
    // A small file needs no block larger than itself.
    buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(blockSize, fileSize_)) +
                   largestPacket);
    std::size_t kept = 0;
    std::uint64_t left = limit;
    synchronised_ = false;
    clockReference_.reset();
    bufferPosition_ = from;
    for (;;) {
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size() - kept, left));
        const std::size_t got =
            wanted == 0 ? 0 : std::fread(buffer_.data() + kept, 1, wanted, file_);
        if (got < wanted && std::ferror(file_)) {
            throw std::runtime_error(std::generic_category().message(errno));
        }
        left -= got;
        const std::size_t end = kept + got;
        const bool atEnd = got < wanted || left == 0;
        bool stop = false;
        const std::size_t used = parse(end, atEnd, handler, stop);
        if (stop || atEnd) {
            return;
        }
        kept = end - used;
        std::memmove(buffer_.data(), buffer_.data() + used, kept);
        bufferPosition_ += used;
    }
}

std::size_t ProgramStreamReader::parse(std::size_t end, bool atEnd, const PacketHandler& handler,
                                       bool& stop) {
    const std::uint8_t* data = buffer_.data();
    std::size_t at = 0;
    while (at + 4 <= end) {
        if (!isStartCodePrefix(data + at)) {
            synchronised_ = false;
            // A prefix cut by the end of the block is looked at again with the next block.
            const std::size_t next = nextStartCode(data, at, end);
            if (next == end) {
                return atEnd ? end : std::max(at, end - 3);
            }
            at = next;
            continue;
        }
        const int code = data[at + 3];
        if (code == packStartCode) {
            if (!atEnd && at + 14 + 7 > end) {
                return at;
            }
            const std::size_t length = packHeaderLength(data + at, end - at);
            if (length == 0 || at + length > end) {
                at += 1;
                continue;
            }
            synchronised_ = true;
            clockReference_ = clockReferenceOf(data + at);
            at += length;
            continue;
        }
        if (!synchronised_) {
            // Outside a pack, a start code may be a look-alike in the middle of a packet that was
            // cut: only a pack header is trusted there.
            at += 1;
            continue;
        }
        if (code == programEndCode) {
            at += 4;
            continue;
        }
        if (code < systemHeaderCode) {
            synchronised_ = false;
            at += 1;
            continue;
        }
        if (at + 6 > end) {
            return atEnd ? end : at;
        }
        const std::size_t length = 6 + ((std::size_t{data[at + 4]} << 8) | data[at + 5]);
        if (at + length > end && !atEnd) {
            return at;
        }
        const std::size_t available = std::min(length, end - at);
        PesPacket packet;
        bool read = false;
        if (isElementaryStream(code)) {
            read = readPesPacket(data + at, available, packet);
        } else if (code == navigationStream && available > 6) {
            packet.streamId = navigationStream;
            packet.payload = data + at + 6;
            packet.size = available - 6;
            read = true;
        }
        if (read) {
            packet.filePosition = bufferPosition_ + at;
            packet.clockReference = clockReference_;
            if (!handler(packet)) {
                stop = true;
                return at + available;
            }
        }
        at += available;
    }
    return atEnd ? end : at;
}

}  // namespace mpeg
