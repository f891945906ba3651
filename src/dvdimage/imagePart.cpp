#include "dvdimage/imagePart.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "dvdimage/imageError.h"

namespace dvdimage {

namespace {

constexpr std::size_t writeBufferSize = 4 << 20;

// The part being written, for the signal handler; one image at a time.
char interruptedPart[4096];

extern "C" void removePartAndEnd(int signal) {
    if (interruptedPart[0] != '\0') {
        std::remove(interruptedPart);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void removeOnInterruption(const std::string& part) {
    if (part.size() >= sizeof interruptedPart) {
        return;
    }
    std::memcpy(interruptedPart, part.c_str(), part.size() + 1);
#ifdef _WIN32
    const int signals[] = {SIGINT, SIGTERM, SIGBREAK};
#else
    const int signals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
#endif
    for (const int signal : signals) {
        std::signal(signal, removePartAndEnd);
    }
}

std::string errnoText() {
    return std::generic_category().message(errno);
}

}  // namespace

ImagePart::ImagePart(const std::string& imagePath)
    : imagePath_(imagePath), partPath_(imagePath + ".part") {
    removeOnInterruption(partPath_);
    file_ = std::fopen(partPath_.c_str(), "wb");
    if (file_ == nullptr) {
        const std::string reason = errnoText();
        interruptedPart[0] = '\0';
        throw ImageError(partPath_ + ": " + reason);
    }
    std::setvbuf(file_, nullptr, _IOFBF, writeBufferSize);
}

ImagePart::~ImagePart() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(partPath_.c_str());
    }
    interruptedPart[0] = '\0';
}

void ImagePart::write(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
        fail(errnoText());
    }
    written_ += size;
}

void ImagePart::keep() {
    if (std::fflush(file_) != 0) {
        fail(errnoText());
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) {
        const std::string reason = errnoText();
        std::remove(partPath_.c_str());
        throw ImageError(partPath_ + ": " + reason);
    }
    std::error_code error;
    std::filesystem::rename(partPath_, imagePath_, error);
    if (error) {
        std::remove(partPath_.c_str());
        throw ImageError(imagePath_ + ": " + error.message());
    }
}

void ImagePart::fail(const std::string& reason) {
    std::fclose(file_);
    file_ = nullptr;
    std::remove(partPath_.c_str());
    throw ImageError(partPath_ + ": " + reason);
}

}  // namespace dvdimage
