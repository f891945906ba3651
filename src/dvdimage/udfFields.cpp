#include "dvdimage/udfFields.h"

#include <cstring>

#include "dvdimage/byteFields.h"

namespace dvdimage {

namespace {

constexpr std::uint8_t cs0EightBits = 8;
constexpr std::uint16_t udfRevision = 0x0102;
const char* const implementationName = "*Marovink dvdimage";

}  // namespace

std::uint16_t udfCrc(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0;
    for (std::size_t index = 0; index < length; ++index) {
        crc = static_cast<std::uint16_t>(crc ^ (data[index] << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

void finishTag(std::uint8_t* descriptor, UdfTag id, std::size_t length, std::uint32_t location) {
    putLittle16(descriptor, static_cast<std::uint16_t>(id));
    putLittle16(descriptor + 2, 2);  // the descriptor version of NSR02
    putLittle16(descriptor + 6, 1);  // serial number
    const std::size_t bodyLength = length - 16;
    putLittle16(descriptor + 8, udfCrc(descriptor + 16, bodyLength));
    putLittle16(descriptor + 10, static_cast<std::uint32_t>(bodyLength));
    putLittle32(descriptor + 12, location);
    std::uint8_t checksum = 0;
    for (int index = 0; index < 16; ++index) {
        if (index != 4) {
            checksum = static_cast<std::uint8_t>(checksum + descriptor[index]);
        }
    }
    descriptor[4] = checksum;
}

void putDString(std::uint8_t* at, std::size_t fieldLength, const std::string& text) {
    std::memset(at, 0, fieldLength);
    if (text.empty()) {
        return;
    }
    const std::size_t used = putFileIdentifier(at, text.substr(0, fieldLength - 2));
    at[fieldLength - 1] = static_cast<std::uint8_t>(used);
}

std::size_t putFileIdentifier(std::uint8_t* at, const std::string& name) {
    at[0] = cs0EightBits;
    std::memcpy(at + 1, name.data(), name.size());
    return name.size() + 1;
}

void putCs0CharacterSet(std::uint8_t* at) {
    std::memset(at, 0, 64);
    putText(at + 1, 23, "OSTA Compressed Unicode", 0);
}

void putDomainIdentifier(std::uint8_t* at) {
    putPlainIdentifier(at, "*OSTA UDF Compliant");
    putLittle16(at + 24, udfRevision);
    at[26] = 0x03;  // hard and soft write protected: the disc is read-only
}

void putUdfIdentifier(std::uint8_t* at, const char* identifier) {
    putPlainIdentifier(at, identifier);
    putLittle16(at + 24, udfRevision);
}

void putImplementationIdentifier(std::uint8_t* at) {
    putPlainIdentifier(at, implementationName);
}

void putPlainIdentifier(std::uint8_t* at, const char* identifier) {
    std::memset(at, 0, 32);
    putText(at + 1, std::strlen(identifier), identifier, 0);
}

void putUdfTimestamp(std::uint8_t* at, const RecordingTime& time) {
    putLittle16(at, 0x1000);  // local time, which is UTC: no offset
    putLittle16(at + 2, static_cast<std::uint32_t>(time.year));
    at[4] = static_cast<std::uint8_t>(time.month);
    at[5] = static_cast<std::uint8_t>(time.day);
    at[6] = static_cast<std::uint8_t>(time.hour);
    at[7] = static_cast<std::uint8_t>(time.minute);
    at[8] = static_cast<std::uint8_t>(time.second);
    at[9] = at[10] = at[11] = 0;
}

void putLongAllocation(std::uint8_t* at, std::uint32_t length, std::uint32_t block) {
    std::memset(at, 0, 16);
    putLittle32(at, length);
    putLittle32(at + 4, block);
}

}  // namespace dvdimage
