#pragma once

#include "dvdimage/byteFields.h"
#include "dvdimage/dvdFolder.h"
#include "dvdimage/imageLayout.h"
#include "dvdimage/recordingTime.h"
#include "dvdimage/udfFiles.h"

// The UDF volume of a DVD image: how a reader recognises it, finds its descriptors, and learns
// the partition and logical volume that hold the file set.
namespace dvdimage {

// Writes the recognition sequence, both volume descriptor sequences, the integrity sequence and
// the first anchor into `image`, which holds every sector before the files' data.
void writeUdfVolume(Bytes& image, const DvdFolder& dvd, const ImageLayout& layout,
                    const UdfFileCounts& counts, const RecordingTime& time);

// The sector that points to the volume descriptor sequences, written as the image's last too.
Bytes anchorSector(std::uint32_t location);

}  // namespace dvdimage
