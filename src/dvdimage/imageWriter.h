#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Makes the ISO 9660 and UDF 1.02 bridge image of a DVD folder, as DVD-Video discs are.
namespace dvdimage {

struct ImageSummary {
    std::uint32_t sectors = 0;
    std::uint32_t files = 0;
    // What the folder holds that the image leaves out.
    std::vector<std::string> leftOut;
};

// Writes the image of the folder to `imagePath`, whole or not at all. The files' bytes are read in
// blocks, never a whole file at once. Throws ImageError naming the file and the reason.
ImageSummary writeDvdImage(const std::string& folderPath, const std::string& imagePath);

}  // namespace dvdimage
