#include "paths/pathPieces.h"

#include <cctype>

namespace pathPieces {

bool isFolderEnd(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

namespace {

std::size_t lastFolderEnd(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isFolderEnd(path[i - 1])) {
            return i - 1;
        }
    }
    return std::string::npos;
}

}  // namespace

std::string folderOf(const std::string& path) {
    const std::size_t end = lastFolderEnd(path);
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

std::string folderWithoutLastCharacter(const std::string& path) {
    std::string folder = folderOf(path);
    if (!folder.empty()) {
        folder.pop_back();
    }
    return folder;
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    const std::size_t dot = path.rfind('.');
    const std::size_t folderEnd = lastFolderEnd(path);
    if (dot == std::string::npos || (folderEnd != std::string::npos && dot < folderEnd)) {
        return path + extension;
    }
    return path.substr(0, dot) + extension;
}

bool endsWithVob(const std::string& path) {
    if (path.size() < 3) {
        return false;
    }
    std::string tail = path.substr(path.size() - 3);
    for (char& c : tail) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return tail == "vob";
}

}  // namespace pathPieces
