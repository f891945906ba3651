#include "platform/fileDeletion.h"

#include <filesystem>
#include <system_error>

namespace platform {

bool deleteFileFromDisk(const std::string& path, std::string& reason) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        reason = std::make_error_code(std::errc::is_a_directory).message();
        return false;
    }
    std::filesystem::remove(path, error);
    if (error) {
        reason = error.message();
        return false;
    }
    return true;
}

}  // namespace platform
