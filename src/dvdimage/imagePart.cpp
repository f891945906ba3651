#include "dvdimage/imagePart.h"

#include "dvdimage/imageError.h"

namespace dvdimage {

namespace {

// An image's name in a failure: the part's while it is written, the image's when it takes its
// place.
ImageError imageError(const PartFile::Failure& failure, const std::string& imagePath) {
    const std::string named =
        failure.step == PartFile::Step::Renaming ? imagePath : imagePath + ".part";
    return ImageError(named + ": " + failure.what());
}

PartFile openedPart(const std::string& imagePath) {
    try {
        return PartFile(imagePath, imagePath + ".part");
    } catch (const PartFile::Failure& failure) {
        throw imageError(failure, imagePath);
    }
}

}  // namespace

ImagePart::ImagePart(const std::string& imagePath)
    : imagePath_(imagePath), part_(openedPart(imagePath)) {}

void ImagePart::write(const std::uint8_t* data, std::size_t size) {
    try {
        part_.write(data, size);
    } catch (const PartFile::Failure& failure) {
        throw imageError(failure, imagePath_);
    }
}

void ImagePart::keep() {
    try {
        part_.keep();
    } catch (const PartFile::Failure& failure) {
        throw imageError(failure, imagePath_);
    }
}

}  // namespace dvdimage
