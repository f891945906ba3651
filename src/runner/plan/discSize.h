#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a title takes on a disc, from the streams it is made of: the packs the multiplexer makes
// of them, the title set's information files, and the file system of an image.
namespace discSize {

constexpr std::uint64_t sectorBytes = 2048;
// What mplex puts of the video in a 2048-byte DVD pack, besides the pack's and packet's headers.
constexpr double videoBytesPerPack = 2024;
// What a fitted title leaves free of its disc: the requantizer meets the size it is asked for
// closely, the rest of the title is predicted.
constexpr double fittingMargin = 0.01;

struct TitleStreams {
    std::uint64_t videoBytes = 0;
    // Audio tracks and subtitle streams: both travel in private-stream packs.
    std::vector<std::uint64_t> otherBytes;
    double seconds = 0;
};

// The remultiplexed VOB the streams make.
std::uint64_t multiplexedBytes(const TitleStreams& streams);
// The DVD folder a title of that VOB and length makes: its VOBs, the title set's IFO and BUP,
// and VIDEO_TS.IFO and .BUP.
std::uint64_t dvdFolderBytes(std::uint64_t vobBytes, double seconds);
// An image of a DVD folder whose files take folderSectorBytes, each rounded up to a sector.
std::uint64_t imageBytes(std::uint64_t folderSectorBytes, int fileCount);
// The image of the title the streams make.
std::uint64_t predictedImageBytes(const TitleStreams& streams);

// The files of a VIDEO_TS folder (its path ends with a separator), each rounded up to a sector.
struct FolderFiles {
    std::uint64_t sectorBytes = 0;
    int count = 0;
};
FolderFiles filesOfFolder(const std::string& videoTsFolder);

// What an image of the DVD folder's VIDEO_TS folder (its path ends with a separator) takes, from
// the files there; 0 when it holds none.
std::uint64_t imageBytesOfFolder(const std::string& videoTsFolder);

// The factor that shrinks the video so that the title's image fits `capacity` bytes with a
// margin; 1 when it fits as it is. The requantizer makes the video its size divided by the
// factor.
double fittingFactor(const TitleStreams& streams, std::uint64_t capacity);

// "4.61 GB", in units of 10^9 bytes as discs are sold; "980 MB" below a gigabyte.
std::string sizeText(std::uint64_t bytes);

}  // namespace discSize
