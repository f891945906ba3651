#include "support/tempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

TempFolder::TempFolder() {
    // A name nobody else has taken: creating the folder fails when it exists already.
    static std::mt19937_64 numbers{std::random_device{}()};
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            temporary / ("marovink-test-" + std::to_string(numbers() % 1000000000u));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
    std::string path = folder + "/" + name;
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

std::string TempFolder::file(const std::string& name) const {
    return pathInFolder(path_, name);
}

std::string TempFolder::touch(const std::string& name) const {
    const std::string path = file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeBytes(path, "x");
    return path;
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
