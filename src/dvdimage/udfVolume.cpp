#include "dvdimage/udfVolume.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "dvdimage/udfFields.h"

namespace dvdimage {

namespace {

constexpr std::uint32_t sequenceBytes = sequenceSectors * sectorSize;

std::uint8_t* sectorOf(Bytes& image, std::uint32_t sector) {
    return image.data() + std::size_t{sector} * sectorSize;
}

void writeRecognitionSequence(Bytes& image) {
    const char* const identifiers[] = {"BEA01", "NSR02", "TEA01"};
    for (std::uint32_t index = 0; index < 3; ++index) {
        std::uint8_t* descriptor = sectorOf(image, udfRecognitionSector + index);
        std::memcpy(descriptor + 1, identifiers[index], 5);
        descriptor[6] = 1;
    }
}

// Sixteen hexadecimal digits from the time, as the start of a volume set's name must be unique.
std::string volumeSetName(const DvdFolder& dvd, const RecordingTime& time) {
    char stamp[17];
    std::snprintf(stamp, sizeof stamp, "%04X%02X%02X%02X%02X%02X%02X", time.year % 0x10000,
                  time.month, time.day, time.hour, time.minute, time.second, 0);
    return std::string(stamp, 16) + dvd.volumeName;
}

void writePrimaryVolume(std::uint8_t* descriptor, std::uint32_t sector, const DvdFolder& dvd,
                        const RecordingTime& time) {
    putLittle32(descriptor + 16, 0);  // sequence number
    putDString(descriptor + 24, 32, dvd.volumeName);
    putLittle16(descriptor + 56, 1);
    putLittle16(descriptor + 58, 1);
    putLittle16(descriptor + 60, 2);
    putLittle16(descriptor + 62, 2);
    putLittle32(descriptor + 64, 1);
    putLittle32(descriptor + 68, 1);
    putDString(descriptor + 72, 128, volumeSetName(dvd, time));
    putCs0CharacterSet(descriptor + 200);
    putCs0CharacterSet(descriptor + 264);
    putUdfTimestamp(descriptor + 376, time);
    putImplementationIdentifier(descriptor + 388);
    finishTag(descriptor, UdfTag::primaryVolume, 512, sector);
}

void writeImplementationUse(std::uint8_t* descriptor, std::uint32_t sector, const DvdFolder& dvd) {
    putLittle32(descriptor + 16, 1);
    putUdfIdentifier(descriptor + 20, "*UDF LV Info");
    std::uint8_t* information = descriptor + 52;
    putCs0CharacterSet(information);
    putDString(information + 64, 128, dvd.volumeName);
    putImplementationIdentifier(information + 300);
    finishTag(descriptor, UdfTag::implementationUse, 512, sector);
}

void writePartition(std::uint8_t* descriptor, std::uint32_t sector, const ImageLayout& layout) {
    putLittle32(descriptor + 16, 2);
    putLittle16(descriptor + 20, 1);  // allocated
    putLittle16(descriptor + 22, 0);  // partition number
    putPlainIdentifier(descriptor + 24, "+NSR02");
    putLittle32(descriptor + 184, 1);  // read-only
    putLittle32(descriptor + 188, partitionStart);
    putLittle32(descriptor + 192, layout.lastAnchorSector - partitionStart);
    putImplementationIdentifier(descriptor + 196);
    finishTag(descriptor, UdfTag::partition, 512, sector);
}

void writeLogicalVolume(std::uint8_t* descriptor, std::uint32_t sector, const DvdFolder& dvd,
                        const ImageLayout& layout) {
    putLittle32(descriptor + 16, 3);
    putCs0CharacterSet(descriptor + 20);
    putDString(descriptor + 84, 128, dvd.volumeName);
    putLittle32(descriptor + 212, sectorSize);
    putDomainIdentifier(descriptor + 216);
    putLongAllocation(descriptor + 248, sectorSize, partitionBlock(layout.fileSetSector));
    putLittle32(descriptor + 264, 6);  // the map table: one type 1 map
    putLittle32(descriptor + 268, 1);
    putImplementationIdentifier(descriptor + 272);
    putLittle32(descriptor + 432, 2 * sectorSize);
    putLittle32(descriptor + 436, integritySector);
    descriptor[440] = 1;
    descriptor[441] = 6;
    putLittle16(descriptor + 442, 1);  // volume sequence number
    putLittle16(descriptor + 444, 0);  // partition number
    finishTag(descriptor, UdfTag::logicalVolume, 446, sector);
}

void writeSequence(Bytes& image, std::uint32_t first, const DvdFolder& dvd,
                   const ImageLayout& layout, const RecordingTime& time) {
    writePrimaryVolume(sectorOf(image, first), first, dvd, time);
    writeImplementationUse(sectorOf(image, first + 1), first + 1, dvd);
    writePartition(sectorOf(image, first + 2), first + 2, layout);
    writeLogicalVolume(sectorOf(image, first + 3), first + 3, dvd, layout);
    std::uint8_t* unallocated = sectorOf(image, first + 4);
    putLittle32(unallocated + 16, 4);
    finishTag(unallocated, UdfTag::unallocatedSpace, 24, first + 4);
    finishTag(sectorOf(image, first + 5), UdfTag::terminating, 512, first + 5);
}

void writeIntegrity(Bytes& image, const ImageLayout& layout, const UdfFileCounts& counts,
                    const RecordingTime& time) {
    std::uint8_t* descriptor = sectorOf(image, integritySector);
    putUdfTimestamp(descriptor + 16, time);
    putLittle32(descriptor + 28, 1);  // closed
    putLittle64(descriptor + 40, counts.nextUniqueId);
    putLittle32(descriptor + 72, 1);  // partitions
    putLittle32(descriptor + 76, 46);
    putLittle32(descriptor + 80, 0);  // free blocks
    putLittle32(descriptor + 84, layout.lastAnchorSector - partitionStart);
    std::uint8_t* implementation = descriptor + 88;
    putImplementationIdentifier(implementation);
    putLittle32(implementation + 32, counts.files);
    putLittle32(implementation + 36, counts.directories);
    putLittle16(implementation + 40, 0x0102);
    putLittle16(implementation + 42, 0x0102);
    putLittle16(implementation + 44, 0x0102);
    finishTag(descriptor, UdfTag::integrity, 134, integritySector);
    finishTag(sectorOf(image, integritySector + 1), UdfTag::terminating, 512, integritySector + 1);
}

}  // namespace

void writeUdfVolume(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                    const UdfFileCounts& counts, const RecordingTime& time) {
    writeRecognitionSequence(image);
    writeSequence(image, mainSequenceSector, dvd, layout, time);
    writeSequence(image, reserveSequenceSector, dvd, layout, time);
    writeIntegrity(image, layout, counts, time);
    const Bytes anchor = anchorSector(firstAnchorSector);
    std::memcpy(sectorOf(image, firstAnchorSector), anchor.data(), anchor.size());
}

Bytes anchorSector(std::uint32_t location) {
    Bytes sector(sectorSize);
    putLittle32(sector.data() + 16, sequenceBytes);
    putLittle32(sector.data() + 20, mainSequenceSector);
    putLittle32(sector.data() + 24, sequenceBytes);
    putLittle32(sector.data() + 28, reserveSequenceSector);
    finishTag(sector.data(), UdfTag::anchor, 512, location);
    return sector;
}

}  // namespace dvdimage
