#include "files/systemEncoding.h"

namespace platform {

// The systems this builds for keep their 8-bit texts in UTF-8.
std::string systemText(const char* utf8Text) {
    return utf8Text;
}

}  // namespace platform
