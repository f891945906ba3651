#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dvdimage/dvdFolder.h"

// Where everything of a DVD image lies, in sectors from the image's start. Both file systems name
// the same data sectors; their own structures lie before the data.
namespace dvdimage {

constexpr std::uint32_t isoVolumeDescriptorSector = 16;
constexpr std::uint32_t isoTerminatorSector = 17;
constexpr std::uint32_t udfRecognitionSector = 18;  // and the two after it
constexpr std::uint32_t mainSequenceSector = 32;
constexpr std::uint32_t reserveSequenceSector = 48;
constexpr std::uint32_t sequenceSectors = 16;
constexpr std::uint32_t integritySector = 64;  // then its terminating descriptor
constexpr std::uint32_t firstAnchorSector = 256;
constexpr std::uint32_t partitionStart = 257;

// A directory as each file system records it.
struct DirectoryPlace {
    std::uint32_t udfEntrySector = 0;
    std::uint32_t udfDataSector = 0;
    std::uint32_t udfDataBytes = 0;
    std::uint32_t isoSector = 0;
    std::uint32_t isoBytes = 0;
};

struct FilePlace {
    std::uint32_t udfEntrySector = 0;
    std::uint32_t dataSector = 0;
};

struct ImageLayout {
    std::uint32_t fileSetSector = 0;  // then its terminating descriptor
    DirectoryPlace root;
    std::vector<DirectoryPlace> folders;        // as DvdFolder::folders
    std::vector<std::vector<FilePlace>> files;  // as each folder's files
    std::uint32_t littleEndianPathTable = 0;
    std::uint32_t bigEndianPathTable = 0;
    std::uint32_t pathTableBytes = 0;
    std::uint32_t dataSector = 0;  // the first file's data
    std::uint32_t lastAnchorSector = 0;
    std::uint32_t totalSectors = 0;
};

ImageLayout layOut(const DvdFolder& dvd);

// Sectors are counted from the image's start; the UDF partition counts its blocks from its own.
inline std::uint32_t partitionBlock(std::uint32_t sector) {
    return sector - partitionStart;
}

}  // namespace dvdimage
