#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace mpeg {

// An IFO file that cannot be read, cut short or damaged; what() says why.
class IfoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class IfoAudioFormat { Ac3, Mpeg1, Mpeg2Extended, Lpcm, Dts, Other };

struct IfoAudioStream {
    IfoAudioFormat format = IfoAudioFormat::Other;
    int channels = 0;
    std::string language;  // two letters; empty when the stream names none
};

// What a DVD title set says of itself and of its first title.
struct TitleSetInfo {
    int titleCount = 0;          // of the whole DVD when its VIDEO_TS.IFO was read
    int chapterCount = 0;        // of title 1
    double playbackSeconds = 0;  // of title 1's program chains
    std::vector<IfoAudioStream> audioStreams;
    int subtitleStreamCount = 0;  // that the first program chain shows
    std::string standard;         // "PAL", "NTSC", or empty when the file names neither
};

// Reads VTS_01_0.IFO of a VIDEO_TS folder, and the title count of VIDEO_TS.IFO when the folder
// holds one. Throws IfoError.
TitleSetInfo readTitleSet(const std::string& videoTsFolder);

// The bytes of an IFO file, at most 16 MiB of them. Throws IfoError for anything but a file (a
// pipe, a device or a folder is never opened), one that cannot be read, or one too large.
std::vector<std::uint8_t> readIfoFile(const std::string& path);

// The same from the bytes of a VTS_nn_0.IFO file; the title count is that of the title set.
TitleSetInfo parseTitleSetIfo(const std::uint8_t* data, std::size_t size);
// The number of titles that the bytes of a VIDEO_TS.IFO file name.
int parseVideoManagerTitleCount(const std::uint8_t* data, std::size_t size);

// The title set's IFO beside a source named VTS_nn_k.VOB (any case); for a source named
// otherwise, the only one beside it. Empty when there is none.
std::string titleSetIfoBeside(const std::string& sourcePath);

// The name of a format as a user knows it: "AC-3", "MPEG-1", ...
const char* audioFormatName(IfoAudioFormat format);

}  // namespace mpeg
