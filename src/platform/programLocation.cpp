#include "platform/programLocation.h"

#include <filesystem>

namespace programLocation {

std::string folderOf(const std::string& programPath) {
    std::filesystem::path folder = std::filesystem::path(programPath).parent_path();
    folder /= "";
    return folder.string();
}

std::string besideProgram(const std::string& programPath, const std::string& extension) {
    return std::filesystem::path(programPath).replace_extension(extension).string();
}

std::string toolsLogBeside(const std::string& runLogPath) {
    return besideProgram(runLogPath, ".tools.log");
}

}  // namespace programLocation
