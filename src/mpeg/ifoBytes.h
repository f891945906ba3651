#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "language/language.h"
#include "mpeg/ifoReader.h"

// The reading of an IFO file's bytes that its readers share.
namespace mpeg::ifo {

constexpr std::size_t sectorBytes = 2048;

// Reads big-endian numbers of a file's bytes, every read checked against the file's end.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t size() const { return size_; }

    void require(std::uint64_t offset, std::uint64_t length) const {
        if (offset > size_ || length > size_ - offset) {
            throw IfoError(language::ifoTruncated);
        }
    }
    std::uint8_t byte(std::uint64_t offset) const {
        require(offset, 1);
        return data_[offset];
    }
    std::uint16_t word(std::uint64_t offset) const {
        require(offset, 2);
        return static_cast<std::uint16_t>(data_[offset] << 8 | data_[offset + 1]);
    }
    std::uint32_t longWord(std::uint64_t offset) const {
        require(offset, 4);
        return static_cast<std::uint32_t>(data_[offset]) << 24 |
               static_cast<std::uint32_t>(data_[offset + 1]) << 16 |
               static_cast<std::uint32_t>(data_[offset + 2]) << 8 | data_[offset + 3];
    }
    bool startsWith(const char* signature) const {
        const std::size_t length = std::strlen(signature);
        return size_ >= length && std::memcmp(data_, signature, length) == 0;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A table that begins at a sector the header points to and whose header gives its last byte.
struct Table {
    std::uint64_t start = 0;
    std::uint64_t end = 0;  // one past its last byte
};

inline Table tableAt(const Bytes& bytes, std::size_t pointerOffset) {
    Table table;
    table.start = static_cast<std::uint64_t>(bytes.longWord(pointerOffset)) * sectorBytes;
    table.end = table.start + bytes.longWord(table.start + 4) + 1;
    bytes.require(table.start, table.end - table.start);
    return table;
}

}  // namespace mpeg::ifo
