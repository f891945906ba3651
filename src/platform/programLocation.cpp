#include "platform/programLocation.h"

#include <cstring>
#include <filesystem>

#include "platform/platform.h"

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

std::string documentPath(const std::string& programPath, const std::string& fileName) {
    const std::filesystem::path folder = std::filesystem::path(programPath).parent_path();
    if (folder.filename() == "marovink" && folder.parent_path().filename() == "lib") {
        const std::filesystem::path prefix = folder.parent_path().parent_path();
        return (prefix / "share" / "doc" / "marovink" / fileName).string();
    }
    return folderOf(programPath) + fileName;
}

std::string programName(const std::string& programPath) {
    const std::string name = std::filesystem::path(programPath).filename().string();
    const std::size_t suffixLength = std::strlen(platform::programFileSuffix);
    // A name no longer than the suffix would leave nothing to show: it is shown whole.
    return name.size() > suffixLength ? name.substr(0, name.size() - suffixLength) : name;
}

}  // namespace programLocation
