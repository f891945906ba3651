#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dvdimage/byteFields.h"
#include "dvdimage/dvdFolder.h"
#include "dvdimage/imageLayout.h"
#include "dvdimage/recordingTime.h"

// The UDF file set of a DVD image: its descriptor, and the entries and identifiers of its
// directories and files.
namespace dvdimage {

// How much the file identifiers of a directory take: its parent's and one per name.
std::uint32_t udfDirectoryBytes(const std::vector<std::string>& names);

// What the logical volume's integrity descriptor counts.
struct UdfFileCounts {
    std::uint32_t files = 0;
    std::uint32_t directories = 0;
    std::uint64_t nextUniqueId = 0;
};

// Writes the file set into `image`, which holds every sector before the files' data.
UdfFileCounts writeUdfFiles(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                            const RecordingTime& time);

}  // namespace dvdimage
