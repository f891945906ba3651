#pragma once

#include <string>

namespace platform {

// The deletion both systems share: false, with the system's reason, when the file is still there.
bool deleteFileFromDisk(const std::string& path, std::string& reason);

}  // namespace platform
