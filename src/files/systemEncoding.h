#pragma once

#include <string>

namespace platform {

// The program's own UTF-8 text in the system's 8-bit code page, so that it matches the paths
// written beside it: unchanged on systems that keep their texts in UTF-8.
std::string systemText(const char* utf8Text);

}  // namespace platform
