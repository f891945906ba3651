#include "runner/plan/discSize.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

namespace discSize {

namespace {

// The navigation and padding packs mplex adds per second, and what it puts of the other streams
// in a pack, fitted to titles of 2 to 9 Mbit/s with one and two AC-3 tracks.
constexpr double otherBytesPerPack = 1996;
constexpr double extraPacksPerSecond = 2.1;
// The title set's IFO grows with the title's cells and time map; VIDEO_TS.IFO has no menu.
constexpr double titleSetInfoBytes = 11000;
constexpr double titleSetInfoBytesPerSecond = 8;
constexpr std::uint64_t videoManagerBytes = 3 * sectorBytes;
// genisoimage -dvd-video -udf: the volume descriptors, both file systems' directories and its
// padding, the same for every single-title folder; a little more for each VOB past the first.
constexpr std::uint64_t imageFileSystemBytes = 454 * sectorBytes;
constexpr std::uint64_t imageBytesPerExtraFile = 2 * sectorBytes;
constexpr int singleTitleFiles = 5;
// A VOB file of a title set holds at most 1 GiB.
constexpr std::uint64_t vobFileBytes = 1024ull * 1024 * 1024;

std::uint64_t wholeSectors(double bytes) {
    return static_cast<std::uint64_t>(std::ceil(std::max(bytes, 0.0) / sectorBytes)) * sectorBytes;
}

double packsOf(std::uint64_t bytes, double bytesPerPack) {
    return std::ceil(static_cast<double>(bytes) / bytesPerPack);
}

double bytesOutsideVideo(const TitleStreams& streams) {
    double packs = extraPacksPerSecond * streams.seconds;
    for (const std::uint64_t bytes : streams.otherBytes) {
        packs += packsOf(bytes, otherBytesPerPack);
    }
    return packs * sectorBytes;
}

int vobFilesOf(std::uint64_t vobBytes) {
    return static_cast<int>(
        std::max<std::uint64_t>(1, (vobBytes + vobFileBytes - 1) / vobFileBytes));
}

}  // namespace

std::uint64_t multiplexedBytes(const TitleStreams& streams) {
    return wholeSectors(packsOf(streams.videoBytes, videoBytesPerPack) * sectorBytes +
                        bytesOutsideVideo(streams));
}

std::uint64_t dvdFolderBytes(std::uint64_t vobBytes, double seconds) {
    const std::uint64_t titleSetInfo =
        wholeSectors(titleSetInfoBytes + titleSetInfoBytesPerSecond * seconds);
    return wholeSectors(static_cast<double>(vobBytes)) + 2 * titleSetInfo + 2 * videoManagerBytes;
}

std::uint64_t imageBytes(std::uint64_t folderSectorBytes, int fileCount) {
    const int extraFiles = std::max(0, fileCount - singleTitleFiles);
    return folderSectorBytes + imageFileSystemBytes +
           static_cast<std::uint64_t>(extraFiles) * imageBytesPerExtraFile;
}

std::uint64_t predictedImageBytes(const TitleStreams& streams) {
    const std::uint64_t vob = multiplexedBytes(streams);
    return imageBytes(dvdFolderBytes(vob, streams.seconds), vobFilesOf(vob) + 4);
}

FolderFiles filesOfFolder(const std::string& videoTsFolder) {
    std::error_code error;
    FolderFiles files;
    for (const auto& entry : std::filesystem::directory_iterator(videoTsFolder, error)) {
        std::error_code sizeError;
        const std::uintmax_t size =
            entry.is_regular_file(sizeError) ? entry.file_size(sizeError) : 0;
        if (!sizeError) {
            files.sectorBytes += wholeSectors(static_cast<double>(size));
            ++files.count;
        }
    }
    return files;
}

std::uint64_t imageBytesOfFolder(const std::string& videoTsFolder) {
    const FolderFiles files = filesOfFolder(videoTsFolder);
    return files.count == 0 ? 0 : imageBytes(files.sectorBytes, files.count);
}

double fittingFactor(const TitleStreams& streams, std::uint64_t capacity) {
    if (predictedImageBytes(streams) <= capacity || streams.videoBytes == 0) {
        return 1;
    }
    // What is left for the video's packs once everything else has its room.
    TitleStreams withoutVideo = streams;
    withoutVideo.videoBytes = 0;
    const double othersBytes = static_cast<double>(predictedImageBytes(withoutVideo));
    const double videoRoom = static_cast<double>(capacity) * (1 - fittingMargin) - othersBytes;
    const double videoBytesRoom = videoRoom / sectorBytes * videoBytesPerPack;
    if (videoBytesRoom <= 0) {
        return std::numeric_limits<double>::infinity();
    }
    return std::max(1.0, static_cast<double>(streams.videoBytes) / videoBytesRoom);
}

std::string sizeText(std::uint64_t bytes) {
    // Whole numbers only: the decimal point is always a point, whatever the C library's locale.
    if (bytes < 1000000000) {
        return std::to_string((bytes + 500000) / 1000000) + " MB";
    }
    const std::uint64_t hundredths = (bytes + 5000000) / 10000000;
    const std::string fraction = std::to_string(hundredths % 100);
    return std::to_string(hundredths / 100) + "." + (fraction.size() < 2 ? "0" : "") + fraction +
           " GB";
}

}  // namespace discSize
