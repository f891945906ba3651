#include "dvdimage/imageWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <system_error>

#include "dvdimage/byteFields.h"
#include "dvdimage/dvdFolder.h"
#include "dvdimage/imageError.h"
#include "dvdimage/imageLayout.h"
#include "dvdimage/imagePart.h"
#include "dvdimage/isoDirectories.h"
#include "dvdimage/udfFiles.h"
#include "dvdimage/udfVolume.h"

namespace dvdimage {

namespace {

constexpr std::size_t copyBlock = 1 << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string errnoText() {
    return std::generic_category().message(errno);
}

// The file's bytes, then zeros to its last sector's end. The size must still be the one the
// layout was made for, since the directories already record it.
void copyFile(ImagePart& part, const ImageFile& file, std::vector<std::uint8_t>& buffer) {
    const std::unique_ptr<std::FILE, FileCloser> source(std::fopen(file.sourcePath.c_str(), "rb"));
    if (!source) {
        throw ImageError(file.sourcePath + ": " + errnoText());
    }
    std::uint64_t copied = 0;
    for (;;) {
        const std::size_t read = std::fread(buffer.data(), 1, buffer.size(), source.get());
        if (read == 0) {
            break;
        }
        copied += read;
        if (copied > file.size) {
            throw ImageError(file.sourcePath + ": grew while the image was being made");
        }
        part.write(buffer.data(), read);
    }
    if (std::ferror(source.get()) != 0) {
        throw ImageError(file.sourcePath + ": " + errnoText());
    }
    if (copied != file.size) {
        throw ImageError(file.sourcePath + ": shrank while the image was being made");
    }
    const std::size_t padding = static_cast<std::size_t>(sectorsFor(copied) * sectorSize - copied);
    const std::vector<std::uint8_t> zeros(padding, 0);
    part.write(zeros.data(), zeros.size());
}

// The empty sectors the IFOs ask for before a file.
void writeZerosUpTo(ImagePart& part, std::uint32_t sector, std::vector<std::uint8_t>& buffer) {
    const std::uint64_t end = std::uint64_t{sector} * sectorSize;
    std::fill(buffer.begin(), buffer.end(), 0);
    while (part.bytesWritten() < end) {
        const std::uint64_t left = end - part.bytesWritten();
        part.write(buffer.data(),
                   static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size())));
    }
}

}  // namespace

ImageSummary writeDvdImage(const std::string& folderPath, const std::string& imagePath) {
    const DvdFolder dvd = readDvdFolder(folderPath);
    const ImageLayout layout = layOut(dvd);
    const RecordingTime time = recordingTimeOf(std::time(nullptr));

    Bytes structures(std::size_t{layout.dataSector} * sectorSize, 0);
    const UdfFileCounts counts = writeUdfFiles(structures, dvd, layout, time);
    writeUdfVolume(structures, dvd, layout, counts, time);
    writeIsoFileSystem(structures, dvd, layout, time);

    ImagePart part(imagePath);
    part.write(structures.data(), structures.size());
    std::vector<std::uint8_t> buffer(copyBlock);
    for (std::size_t folder = 0; folder < dvd.folders.size(); ++folder) {
        for (std::size_t file = 0; file < dvd.folders[folder].files.size(); ++file) {
            writeZerosUpTo(part, layout.files[folder][file].dataSector, buffer);
            copyFile(part, dvd.folders[folder].files[file], buffer);
        }
    }
    const Bytes anchor = anchorSector(layout.lastAnchorSector);
    part.write(anchor.data(), anchor.size());
    if (part.bytesWritten() != std::uint64_t{layout.totalSectors} * sectorSize) {
        throw ImageError(imagePath + ": the image came out of a size other than its layout's");
    }
    part.keep();
    return {layout.totalSectors, counts.files, dvd.leftOut};
}

}  // namespace dvdimage
