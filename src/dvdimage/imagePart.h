#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "files/partFile.h"

// The image file while it is written: IMAGE.part beside IMAGE, which takes IMAGE's place only
// when complete, so that no reader ever finds half an image under the final name. Whatever
// ends the writing early, an error or an interruption, removes the part.
namespace dvdimage {

class ImagePart {
public:
    // Throws ImageError when the part cannot be created.
    explicit ImagePart(const std::string& imagePath);

    // Throws ImageError when the bytes cannot be written.
    void write(const std::uint8_t* data, std::size_t size);
    std::uint64_t bytesWritten() const { return part_.bytesWritten(); }
    // Closes the part and puts it in the image's place. Throws ImageError when that fails.
    void keep();

private:
    std::string imagePath_;
    PartFile part_;
};

}  // namespace dvdimage
