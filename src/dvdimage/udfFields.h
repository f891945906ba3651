#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dvdimage/recordingTime.h"

// The small structures that UDF descriptors are made of.
namespace dvdimage {

enum class UdfTag : std::uint16_t {
    primaryVolume = 1,
    anchor = 2,
    implementationUse = 4,
    partition = 5,
    logicalVolume = 6,
    unallocatedSpace = 7,
    terminating = 8,
    integrity = 9,
    fileSet = 256,
    fileIdentifier = 257,
    fileEntry = 261,
};

// The CRC that UDF tags carry: CRC-ITU-T (x^16 + x^12 + x^5 + 1), starting from 0.
std::uint16_t udfCrc(const std::uint8_t* data, std::size_t length);

// Fills the 16-byte tag at the descriptor's start once its body of `length` bytes (tag included)
// is final. location: the sector, or for what lies in the partition its block, of the tag.
void finishTag(std::uint8_t* descriptor, UdfTag id, std::size_t length, std::uint32_t location);

// Text fields in OSTA CS0, 8 bits a character: the characters are Latin-1.
void putDString(std::uint8_t* at, std::size_t fieldLength, const std::string& text);
// A file identifier: the compression byte and the characters, without the dstring's length.
// Returns its length.
std::size_t putFileIdentifier(std::uint8_t* at, const std::string& name);
void putCs0CharacterSet(std::uint8_t* at);

// Entity identifiers, whose last 8 bytes say which UDF revision or which implementation.
void putDomainIdentifier(std::uint8_t* at);
void putUdfIdentifier(std::uint8_t* at, const char* identifier);
void putImplementationIdentifier(std::uint8_t* at);
void putPlainIdentifier(std::uint8_t* at, const char* identifier);

void putUdfTimestamp(std::uint8_t* at, const RecordingTime& time);
// A long_ad: an extent of `length` bytes at `block` of the one partition.
void putLongAllocation(std::uint8_t* at, std::uint32_t length, std::uint32_t block);

}  // namespace dvdimage
