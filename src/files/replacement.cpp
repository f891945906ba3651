#include "files/replacement.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "files/ioError.h"

namespace fs = std::filesystem;

namespace replacement {

namespace {

const std::string temporarySuffix = ".tmp";
// As the system gives up on a path (ELOOP): a chain this long is a loop.
constexpr int mostLinksFollowed = 40;

}  // namespace

std::string temporaryPathBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return target + "." + std::to_string(stamp) + "-" + std::to_string(counter++) + temporarySuffix;
}

bool isTemporaryNameOf(const std::string& fileName, const std::string& targetName) {
    const std::size_t stampStart = targetName.size() + 1;
    if (fileName.size() <= stampStart + temporarySuffix.size() ||
        fileName.compare(0, targetName.size(), targetName) != 0 ||
        fileName[targetName.size()] != '.' ||
        fileName.compare(fileName.size() - temporarySuffix.size(), temporarySuffix.size(),
                         temporarySuffix) != 0) {
        return false;
    }
    const auto stampBegin = fileName.begin() + static_cast<std::ptrdiff_t>(stampStart);
    const auto stampEnd = fileName.end() - static_cast<std::ptrdiff_t>(temporarySuffix.size());
    return std::all_of(stampBegin, stampEnd, [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-';
    });
}

std::vector<std::string> temporaryFilesOf(const std::string& target) {
    const fs::path targetPath(target);
    const std::string targetName = targetPath.filename().string();
    fs::path folder = targetPath.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (isTemporaryNameOf(name, targetName)) {
            found.push_back((targetPath.parent_path() / name).string());
        }
    }
    return found;
}

std::string finalTarget(const std::string& path) {
    fs::path current(path);
    for (int hop = 0;; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            return current.string();
        }
        if (hop == mostLinksFollowed) {
            throw ioErrorFromErrno(ELOOP);
        }
        const fs::path link = fs::read_symlink(current, error);
        if (error) {
            throw ioErrorFromErrno(error.value());
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
}

}  // namespace replacement
