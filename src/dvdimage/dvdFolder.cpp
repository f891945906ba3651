#include "dvdimage/dvdFolder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "dvdimage/ifoPlaces.h"
#include "dvdimage/imageError.h"
#include "files/textFile.h"

namespace dvdimage {

namespace fs = std::filesystem;

namespace {

// ISO 9660 records a file's size in 32 bits.
constexpr std::uint64_t largestFile = 0xffffffffu;

std::string upperCase(std::string text) {
    for (char& letter : text) {
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    }
    return text;
}

bool isDCharacters(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char letter) {
        return (letter >= 'A' && letter <= 'Z') || (letter >= '0' && letter <= '9') ||
               letter == '_';
    });
}

// Level 1 names: up to 8 d-characters, a dot and up to 3 more, which is what DVD players read.
bool isLevelOneName(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    return !stem.empty() && stem.size() <= 8 && extension.size() <= 3 && isDCharacters(stem) &&
           isDCharacters(extension);
}

// Where a name stands on the disc: (group, title set, kind, VOB number, name).
std::tuple<int, int, int, int, std::string> discRank(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    const int kind = extension == "IFO" ? 0 : extension == "VOB" ? 1 : extension == "BUP" ? 2 : -1;
    if (kind >= 0 && stem == "VIDEO_TS") {
        return {0, 0, kind, 0, name};
    }
    const bool titleSet = kind >= 0 && stem.size() == 8 && stem.compare(0, 4, "VTS_") == 0 &&
                          std::isdigit(static_cast<unsigned char>(stem[4])) &&
                          std::isdigit(static_cast<unsigned char>(stem[5])) && stem[6] == '_' &&
                          std::isdigit(static_cast<unsigned char>(stem[7]));
    if (titleSet) {
        return {1, std::stoi(stem.substr(4, 2)), kind, stem[7] - '0', name};
    }
    return {2, 0, 0, 0, name};
}

ImageFolder readFolder(const fs::path& folder, const std::string& imageName,
                       std::vector<std::string>& leftOut) {
    ImageFolder result{imageName, {}};
    std::error_code error;
    fs::directory_iterator entry(folder, error);
    for (const fs::directory_iterator end; !error && entry != end; entry.increment(error)) {
        const std::string path = entry->path().string();
        if (!entry->is_regular_file(error)) {
            leftOut.push_back(path);
            continue;
        }
        const std::string name = upperCase(entry->path().filename().string());
        if (!isLevelOneName(name)) {
            throw ImageError(path +
                             ": the name is not one DVD players read (up to 8 letters, digits "
                             "or _, a dot and up to 3 more)");
        }
        const std::uint64_t size = entry->file_size(error);
        if (error) {
            break;
        }
        if (size > largestFile) {
            throw ImageError(path + ": larger than the 4 GiB an ISO 9660 file can hold");
        }
        result.files.push_back({name, path, size, std::nullopt});
    }
    if (error) {
        throw ImageError(folder.string() + ": " + error.message());
    }
    std::sort(result.files.begin(), result.files.end(),
              [](const ImageFile& first, const ImageFile& second) {
                  return comesFirstOnDisc(first.name, second.name);
              });
    const auto twice = std::adjacent_find(
        result.files.begin(), result.files.end(),
        [](const ImageFile& first, const ImageFile& second) { return first.name == second.name; });
    if (twice != result.files.end()) {
        throw ImageError(twice->sourcePath + ": its name differs from another's only in case");
    }
    return result;
}

std::string volumeNameOf(const fs::path& folder) {
    std::string name = upperCase(fs::absolute(folder).lexically_normal().filename().string());
    for (char& letter : name) {
        if (!isDCharacters(std::string(1, letter))) {
            letter = '_';
        }
    }
    return name.empty() ? "DVD_VIDEO" : name.substr(0, 32);
}

}  // namespace

bool comesFirstOnDisc(const std::string& first, const std::string& second) {
    return discRank(first) < discRank(second);
}

DvdFolder readDvdFolder(const std::string& path) {
    const fs::path folder = withoutTrailingSeparators(path);
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw ImageError(path + ": " +
                         (fs::exists(folder, error) ? "not a folder" : "no such folder"));
    }
    DvdFolder dvd{volumeNameOf(folder), {}, {}};
    fs::path videoTs;
    fs::path audioTs;
    fs::directory_iterator entry(folder, error);
    for (const fs::directory_iterator end; !error && entry != end; entry.increment(error)) {
        const std::string name = upperCase(entry->path().filename().string());
        std::error_code kindError;
        const bool isFolder = entry->is_directory(kindError);
        if (isFolder && name == "VIDEO_TS") {
            videoTs = entry->path();
        } else if (isFolder && name == "AUDIO_TS") {
            audioTs = entry->path();
        } else {
            dvd.leftOut.push_back(entry->path().string());
        }
    }
    if (error) {
        throw ImageError(path + ": " + error.message());
    }
    if (videoTs.empty()) {
        throw ImageError(path + ": holds no VIDEO_TS folder");
    }
    dvd.folders.push_back(audioTs.empty() ? ImageFolder{"AUDIO_TS", {}}
                                          : readFolder(audioTs, "AUDIO_TS", dvd.leftOut));
    dvd.folders.push_back(readFolder(videoTs, "VIDEO_TS", dvd.leftOut));
    readIfoPlaces(dvd.folders.back());
    std::sort(dvd.leftOut.begin(), dvd.leftOut.end());
    return dvd;
}

}  // namespace dvdimage
