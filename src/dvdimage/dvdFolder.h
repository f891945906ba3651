#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What goes into the image of a DVD folder: its VIDEO_TS and AUDIO_TS folders and their files.
namespace dvdimage {

struct ImageFile {
    std::string name;        // as both file systems record it: upper case, 8.3
    std::string sourcePath;  // where its bytes are read from
    std::uint64_t size = 0;
    // Where the IFOs say the file begins, in sectors from VIDEO_TS.IFO's first: players that seek
    // by sector look for it there.
    std::optional<std::uint32_t> ifoPlace;
};

struct ImageFolder {
    std::string name;
    // In the order their data lies on the disc, which is the order players read them in.
    std::vector<ImageFile> files;
};

struct DvdFolder {
    std::string volumeName;  // d-characters, at most 32
    // AUDIO_TS then VIDEO_TS; an AUDIO_TS the folder lacks is there, empty.
    std::vector<ImageFolder> folders;
    // Paths in the folder that the image leaves out: neither of the two folders nor their files.
    std::vector<std::string> leftOut;
};

// Throws ImageError when the folder or its VIDEO_TS is missing or cannot be read, or when a file
// has a name DVD players cannot read or a size ISO 9660 cannot record.
DvdFolder readDvdFolder(const std::string& path);

// True when `first` comes before `second` on a DVD-Video disc: the video manager, then each title
// set with its IFO, its VOBs in number order and its BUP; any other file after them by name.
bool comesFirstOnDisc(const std::string& first, const std::string& second);

}  // namespace dvdimage
