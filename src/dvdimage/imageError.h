#pragma once

#include <stdexcept>

namespace dvdimage {

// Why an image cannot be made: its text names the file and the reason.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace dvdimage
