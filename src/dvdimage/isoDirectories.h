#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dvdimage/byteFields.h"
#include "dvdimage/dvdFolder.h"
#include "dvdimage/imageLayout.h"
#include "dvdimage/recordingTime.h"

// The ISO 9660 file system of a DVD image: level 1 names, one volume descriptor, the path tables
// and the directories.
namespace dvdimage {

// The bytes of a directory: whole sectors, since no record may cross from one to the next.
// ofFolders: the names are the root's folders, which carry no version.
std::uint32_t isoDirectoryBytes(const std::vector<std::string>& names, bool ofFolders);
std::uint32_t isoPathTableBytes(const std::vector<std::string>& folderNames);

// Writes the file system into `image`, which holds every sector before the files' data.
void writeIsoFileSystem(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                        const RecordingTime& time);

}  // namespace dvdimage
