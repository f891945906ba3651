#include "platform/programLocation.h"

#include <algorithm>
#include <cctype>
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

std::string documentPath(const std::string& programPath, const std::string& fileName) {
    const std::filesystem::path folder = std::filesystem::path(programPath).parent_path();
    if (folder.filename() == "marovink" && folder.parent_path().filename() == "lib") {
        const std::filesystem::path prefix = folder.parent_path().parent_path();
        return (prefix / "share" / "doc" / "marovink" / fileName).string();
    }
    return folderOf(programPath) + fileName;
}

std::string programName(const std::string& programPath) {
    std::string name = std::filesystem::path(programPath).filename().string();
    // Cut in any letter case and on every system, so a copied Windows program shows its name too;
    // a name no longer than the extension would leave nothing to show: it is shown whole.
    const std::string extension = ".exe";
    if (name.size() > extension.size()) {
        const std::size_t start = name.size() - extension.size();
        std::string end = name.substr(start);
        std::transform(end.begin(), end.end(), end.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (end == extension) {
            name.erase(start);
        }
    }
    return name;
}

}  // namespace programLocation
