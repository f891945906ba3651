#include "dvdimage/udfFiles.h"

#include "dvdimage/udfFields.h"

namespace dvdimage {

namespace {

constexpr std::uint8_t directoryType = 4;
constexpr std::uint8_t fileType = 5;
constexpr std::uint8_t isDirectory = 0x02;
constexpr std::uint8_t isParent = 0x08;
// Everyone may read and list; nobody may change what a disc holds.
constexpr std::uint32_t directoryPermissions = 0x14a5;
constexpr std::uint32_t filePermissions = 0x1084;
// A short_ad's length has 30 bits; extents but the last are whole blocks.
constexpr std::uint32_t longestExtent = (std::uint32_t{1} << 30) - sectorSize;
constexpr std::size_t fileEntryFixedBytes = 176;
constexpr std::uint64_t firstFreeUniqueId = 16;  // those below are the root's

std::uint32_t identifierBytes(std::size_t nameLength) {
    return static_cast<std::uint32_t>((38 + nameLength + 3) / 4 * 4);
}

std::uint8_t* sectorOf(Bytes& image, std::uint32_t sector) {
    return image.data() + std::size_t{sector} * sectorSize;
}

struct Extent {
    std::uint32_t sector;
    std::uint64_t bytes;
};

struct EntryFields {
    std::uint8_t type;
    std::uint64_t uniqueId;
    std::uint16_t linkCount;
};

void writeFileEntry(Bytes& image, std::uint32_t sector, const EntryFields& fields,
                    const Extent& data, const RecordingTime& time) {
    std::uint8_t* entry = sectorOf(image, sector);
    putLittle16(entry + 16 + 4, 4);  // strategy 4: one entry, never rewritten
    putLittle16(entry + 16 + 8, 1);
    entry[16 + 11] = fields.type;
    putLittle32(entry + 36, 0xffffffffu);  // no owner or group: a disc has none
    putLittle32(entry + 40, 0xffffffffu);
    putLittle32(entry + 44, fields.type == directoryType ? directoryPermissions : filePermissions);
    putLittle16(entry + 48, fields.linkCount);
    putLittle64(entry + 56, data.bytes);
    putLittle64(entry + 64, sectorsFor(data.bytes));
    putUdfTimestamp(entry + 72, time);
    putUdfTimestamp(entry + 84, time);
    putUdfTimestamp(entry + 96, time);
    putLittle32(entry + 108, 1);  // checkpoint
    putImplementationIdentifier(entry + 128);
    putLittle64(entry + 160, fields.uniqueId);
    std::uint8_t* allocation = entry + fileEntryFixedBytes;
    std::uint64_t left = data.bytes;
    std::uint32_t block = partitionBlock(data.sector);
    while (left > 0) {
        const std::uint32_t length =
            left > longestExtent ? longestExtent : static_cast<std::uint32_t>(left);
        putLittle32(allocation, length);
        putLittle32(allocation + 4, block);
        allocation += 8;
        left -= length;
        block += length / std::uint32_t{sectorSize};
    }
    const std::size_t allocationBytes =
        static_cast<std::size_t>(allocation - (entry + fileEntryFixedBytes));
    putLittle32(entry + 172, static_cast<std::uint32_t>(allocationBytes));
    finishTag(entry, UdfTag::fileEntry, fileEntryFixedBytes + allocationBytes,
              partitionBlock(sector));
}

struct Child {
    std::string name;  // empty for the parent
    std::uint32_t entrySector;
    std::uint64_t uniqueId;
    bool directory;
};

void writeIdentifiers(Bytes& image, const DirectoryPlace& place,
                      const std::vector<Child>& children) {
    std::size_t offset = std::size_t{place.udfDataSector} * sectorSize;
    for (const Child& child : children) {
        std::uint8_t* identifier = image.data() + offset;
        putLittle16(identifier + 16, 1);  // file version
        identifier[18] = static_cast<std::uint8_t>((child.directory ? isDirectory : 0) |
                                                   (child.name.empty() ? isParent : 0));
        putLongAllocation(identifier + 20, sectorSize, partitionBlock(child.entrySector));
        putLittle32(identifier + 20 + 12, static_cast<std::uint32_t>(child.uniqueId));
        const std::size_t nameLength =
            child.name.empty() ? 0 : putFileIdentifier(identifier + 38, child.name);
        identifier[19] = static_cast<std::uint8_t>(nameLength);
        const std::uint32_t length = identifierBytes(nameLength);
        const auto sector = static_cast<std::uint32_t>(offset / sectorSize);
        finishTag(identifier, UdfTag::fileIdentifier, length, partitionBlock(sector));
        offset += length;
    }
}

void writeFileSet(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                  const RecordingTime& time) {
    std::uint8_t* fileSet = sectorOf(image, layout.fileSetSector);
    putUdfTimestamp(fileSet + 16, time);
    putLittle16(fileSet + 28, 3);
    putLittle16(fileSet + 30, 3);
    putLittle32(fileSet + 32, 1);
    putLittle32(fileSet + 36, 1);
    putCs0CharacterSet(fileSet + 48);
    putDString(fileSet + 112, 128, dvd.volumeName);
    putCs0CharacterSet(fileSet + 240);
    putDString(fileSet + 304, 32, dvd.volumeName);
    putLongAllocation(fileSet + 400, sectorSize, partitionBlock(layout.root.udfEntrySector));
    putDomainIdentifier(fileSet + 416);
    finishTag(fileSet, UdfTag::fileSet, 512, partitionBlock(layout.fileSetSector));
    const std::uint32_t terminator = layout.fileSetSector + 1;
    finishTag(sectorOf(image, terminator), UdfTag::terminating, 512, partitionBlock(terminator));
}

}  // namespace

std::uint32_t udfDirectoryBytes(const std::vector<std::string>& names) {
    std::uint32_t bytes = identifierBytes(0);
    for (const std::string& name : names) {
        bytes += identifierBytes(name.size() + 1);
    }
    return bytes;
}

UdfFileCounts writeUdfFiles(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                            const RecordingTime& time) {
    writeFileSet(image, dvd, layout, time);
    UdfFileCounts counts{0, 1, firstFreeUniqueId};
    const DirectoryPlace& root = layout.root;
    std::vector<Child> rootChildren{{"", root.udfEntrySector, 0, true}};
    for (std::size_t folder = 0; folder < dvd.folders.size(); ++folder) {
        const DirectoryPlace& place = layout.folders[folder];
        const std::uint64_t folderId = counts.nextUniqueId++;
        rootChildren.push_back({dvd.folders[folder].name, place.udfEntrySector, folderId, true});
        std::vector<Child> children{{"", root.udfEntrySector, 0, true}};
        for (std::size_t file = 0; file < dvd.folders[folder].files.size(); ++file) {
            const ImageFile& source = dvd.folders[folder].files[file];
            const FilePlace& filePlace = layout.files[folder][file];
            const std::uint64_t fileId = counts.nextUniqueId++;
            writeFileEntry(image, filePlace.udfEntrySector, {fileType, fileId, 1},
                           {filePlace.dataSector, source.size}, time);
            children.push_back({source.name, filePlace.udfEntrySector, fileId, false});
            ++counts.files;
        }
        writeFileEntry(image, place.udfEntrySector, {directoryType, folderId, 1},
                       {place.udfDataSector, place.udfDataBytes}, time);
        writeIdentifiers(image, place, children);
        ++counts.directories;
    }
    // The root is named by its own parent entry and by each folder's.
    const auto rootLinks = static_cast<std::uint16_t>(1 + dvd.folders.size());
    writeFileEntry(image, root.udfEntrySector, {directoryType, 0, rootLinks},
                   {root.udfDataSector, root.udfDataBytes}, time);
    writeIdentifiers(image, root, rootChildren);
    return counts;
}

}  // namespace dvdimage
