#include "paths/folderCreation.h"

#include <filesystem>
#include <system_error>

#include "files/ioError.h"
#include "language/language.h"
#include "paths/pathPieces.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

bool isRoot(const std::string& folder) {
    return pathPieces::folderOf(folder) == folder;
}

std::string withoutTrailingSeparator(std::string path) {
    if (path.size() > 1 && pathPieces::isFolderEnd(path.back())) {
        path.pop_back();
    }
    return path;
}

bool createFolders(const std::string& path) {
    const std::string folder = withoutTrailingSeparator(path);
    std::error_code error;
    if (folder.empty() || isRoot(folder) || fs::is_directory(folder, error)) {
        return true;
    }
#ifdef _WIN32
    // A drive ("C:") or less: nothing to create.
    if (folder.size() < 3) {
        return true;
    }
#endif
    const std::string parent = pathPieces::folderOf(folder);
    if (!parent.empty() && !createFolders(parent)) {
        return false;
    }
    return fs::create_directory(folder, error) || fs::is_directory(folder, error);
}

}  // namespace

bool createFolderWithParents(const std::string& path) {
    if (path.empty()) {
        throw IoError(platform::systemText(language::cannotCreateFolder));
    }
    return createFolders(path);
}

std::string folderPartOf(const std::string& path) {
    const std::string folder = pathPieces::folderOf(path);
    if (folder.empty()) {
        return folder;
    }
    const std::string part = folder.substr(0, folder.size() - 1);
    return isRoot(part) ? folder : part;
}
