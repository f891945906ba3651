#include "dvdimage/isoDirectories.h"

#include <algorithm>
#include <cstring>

namespace dvdimage {

namespace {

constexpr std::uint8_t directoryFlag = 0x02;

// How a file is named in a directory record: a version after the name, and a dot even when it
// has no extension.
std::string recordedName(const std::string& name) {
    return (name.find('.') == std::string::npos ? name + "." : name) + ";1";
}

std::size_t recordBytes(std::size_t identifierLength) {
    return 33 + identifierLength + (identifierLength % 2 == 0 ? 1 : 0);
}

// The order of records in a directory: by name, then extension, each padded with spaces.
std::string sortKey(const std::string& name) {
    const std::size_t dot = name.find('.');
    std::string stem = name.substr(0, dot);
    std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    stem.resize(8, ' ');
    extension.resize(3, ' ');
    return stem + extension;
}

struct Record {
    std::string identifier;  // "\0" for the directory itself, "\1" for its parent
    std::uint32_t sector;
    std::uint32_t bytes;
    bool directory;
};

// Sector-packed records, each sector's unused end left zero.
class DirectoryWriter {
public:
    DirectoryWriter(std::uint8_t* start) : start_(start) {}
    void add(const Record& record, const RecordingTime& time) {
        const std::size_t length = recordBytes(record.identifier.size());
        if (offset_ % sectorSize + length > sectorSize) {
            offset_ = (offset_ / sectorSize + 1) * sectorSize;
        }
        std::uint8_t* at = start_ + offset_;
        at[0] = static_cast<std::uint8_t>(length);
        putBoth32(at + 2, record.sector);
        putBoth32(at + 10, record.bytes);
        at[18] = static_cast<std::uint8_t>(time.year - 1900);
        at[19] = static_cast<std::uint8_t>(time.month);
        at[20] = static_cast<std::uint8_t>(time.day);
        at[21] = static_cast<std::uint8_t>(time.hour);
        at[22] = static_cast<std::uint8_t>(time.minute);
        at[23] = static_cast<std::uint8_t>(time.second);
        at[25] = record.directory ? directoryFlag : 0;
        putBoth16(at + 28, 1);
        at[32] = static_cast<std::uint8_t>(record.identifier.size());
        std::memcpy(at + 33, record.identifier.data(), record.identifier.size());
        offset_ += length;
    }
    std::size_t bytes() const { return offset_ == 0 ? 0 : sectorsFor(offset_) * sectorSize; }

private:
    std::uint8_t* start_;
    std::size_t offset_ = 0;
};

std::uint32_t packedBytes(const std::vector<std::string>& identifiers) {
    std::vector<std::uint8_t> scratch((identifiers.size() + 2) * 2 * sectorSize);
    DirectoryWriter writer(scratch.data());
    const RecordingTime time;
    writer.add({std::string(1, '\0'), 0, 0, true}, time);
    writer.add({std::string(1, '\1'), 0, 0, true}, time);
    for (const std::string& identifier : identifiers) {
        writer.add({identifier, 0, 0, false}, time);
    }
    return static_cast<std::uint32_t>(writer.bytes());
}

// A number as `count` decimal digits, its higher digits dropped.
void putDigits(std::uint8_t* at, int value, int count) {
    for (int index = count - 1; index >= 0; --index) {
        at[index] = static_cast<std::uint8_t>('0' + value % 10);
        value /= 10;
    }
}

void putIsoDate(std::uint8_t* at, const RecordingTime& time) {
    putDigits(at, time.year, 4);
    putDigits(at + 4, time.month, 2);
    putDigits(at + 6, time.day, 2);
    putDigits(at + 8, time.hour, 2);
    putDigits(at + 10, time.minute, 2);
    putDigits(at + 12, time.second, 2);
    putDigits(at + 14, 0, 2);
    at[16] = 0;  // UTC
}

void putNoDate(std::uint8_t* at) {
    std::memset(at, '0', 16);
    at[16] = 0;
}

void writePathTables(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout) {
    std::uint8_t* little = image.data() + std::size_t{layout.littleEndianPathTable} * sectorSize;
    std::uint8_t* big = image.data() + std::size_t{layout.bigEndianPathTable} * sectorSize;
    std::size_t offset = 0;
    const auto add = [&](const std::string& identifier, std::uint32_t sector) {
        little[offset] = big[offset] = static_cast<std::uint8_t>(identifier.size());
        putLittle32(little + offset + 2, sector);
        putBig32(big + offset + 2, sector);
        putLittle16(little + offset + 6, 1);  // every folder's parent is the root, number 1
        putBig16(big + offset + 6, 1);
        std::memcpy(little + offset + 8, identifier.data(), identifier.size());
        std::memcpy(big + offset + 8, identifier.data(), identifier.size());
        offset += 8 + identifier.size() + identifier.size() % 2;
    };
    add(std::string(1, '\0'), layout.root.isoSector);
    for (std::size_t folder = 0; folder < dvd.folders.size(); ++folder) {
        add(dvd.folders[folder].name, layout.folders[folder].isoSector);
    }
}

void writeDirectories(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                      const RecordingTime& time) {
    const DirectoryPlace& root = layout.root;
    const Record self{std::string(1, '\0'), root.isoSector, root.isoBytes, true};
    const Record parent{std::string(1, '\1'), root.isoSector, root.isoBytes, true};
    DirectoryWriter rootWriter(image.data() + std::size_t{root.isoSector} * sectorSize);
    rootWriter.add(self, time);
    rootWriter.add(parent, time);
    for (std::size_t folder = 0; folder < dvd.folders.size(); ++folder) {
        const DirectoryPlace& place = layout.folders[folder];
        rootWriter.add({dvd.folders[folder].name, place.isoSector, place.isoBytes, true}, time);

        DirectoryWriter writer(image.data() + std::size_t{place.isoSector} * sectorSize);
        writer.add({std::string(1, '\0'), place.isoSector, place.isoBytes, true}, time);
        writer.add(parent, time);
        const std::vector<ImageFile>& files = dvd.folders[folder].files;
        std::vector<std::size_t> order(files.size());
        for (std::size_t index = 0; index < order.size(); ++index) {
            order[index] = index;
        }
        std::sort(order.begin(), order.end(), [&](std::size_t first, std::size_t second) {
            return sortKey(files[first].name) < sortKey(files[second].name);
        });
        for (const std::size_t file : order) {
            writer.add({recordedName(files[file].name), layout.files[folder][file].dataSector,
                        static_cast<std::uint32_t>(files[file].size), false},
                       time);
        }
    }
}

void writeVolumeDescriptors(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                            const RecordingTime& time) {
    std::uint8_t* primary = image.data() + std::size_t{isoVolumeDescriptorSector} * sectorSize;
    primary[0] = 1;
    std::memcpy(primary + 1, "CD001", 5);
    primary[6] = 1;
    putText(primary + 8, 32, "", ' ');
    putText(primary + 40, 32, dvd.volumeName, ' ');
    putBoth32(primary + 80, layout.totalSectors);
    putBoth16(primary + 120, 1);
    putBoth16(primary + 124, 1);
    putBoth16(primary + 128, sectorSize);
    putBoth32(primary + 132, layout.pathTableBytes);
    putLittle32(primary + 140, layout.littleEndianPathTable);
    putBig32(primary + 148, layout.bigEndianPathTable);
    DirectoryWriter rootRecord(primary + 156);
    rootRecord.add({std::string(1, '\0'), layout.root.isoSector, layout.root.isoBytes, true}, time);
    putText(primary + 190, 128, dvd.volumeName, ' ');
    putText(primary + 318, 128, "", ' ');
    putText(primary + 446, 128, "", ' ');
    putText(primary + 574, 128, "MAROVINK DVDIMAGE", ' ');
    putText(primary + 702, 37 * 3, "", ' ');
    putIsoDate(primary + 813, time);
    putIsoDate(primary + 830, time);
    putNoDate(primary + 847);
    putNoDate(primary + 864);
    primary[881] = 1;

    std::uint8_t* terminator = image.data() + std::size_t{isoTerminatorSector} * sectorSize;
    terminator[0] = 255;
    std::memcpy(terminator + 1, "CD001", 5);
    terminator[6] = 1;
}

}  // namespace

std::uint32_t isoDirectoryBytes(const std::vector<std::string>& names, bool ofFolders) {
    std::vector<std::string> identifiers;
    for (const std::string& name : names) {
        identifiers.push_back(ofFolders ? name : recordedName(name));
    }
    return packedBytes(identifiers);
}

std::uint32_t isoPathTableBytes(const std::vector<std::string>& folderNames) {
    std::uint32_t bytes = 10;  // the root's
    for (const std::string& name : folderNames) {
        bytes += static_cast<std::uint32_t>(8 + name.size() + name.size() % 2);
    }
    return bytes;
}

void writeIsoFileSystem(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                        const RecordingTime& time) {
    writeVolumeDescriptors(image, dvd, layout, time);
    writePathTables(image, dvd, layout);
    writeDirectories(image, dvd, layout, time);
}

}  // namespace dvdimage
