#include "platform/userFiles.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/programLocation.h"

namespace userFiles {

namespace {

constexpr const char* settingsFileName = "marovink.ini";
constexpr const char* runLogFileName = "marovink.log";

// A folder that does not exist yet is made for the user alone, as the user's folders should be.
void createUserFolder(const std::string& folder) {
    std::error_code ignored;
    if (std::filesystem::create_directories(folder, ignored)) {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, ignored);
    }
}

}  // namespace

bool canCreateFileIn(const std::string& folder) {
    // A name no file has, so that removing it never removes a file of someone else's.
    static std::atomic<unsigned> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path probe;
    std::error_code ignored;
    do {
        probe = std::filesystem::path(folder) /
                (".marovink-write-test-" + std::to_string(stamp) + "-" + std::to_string(++serial));
    } while (std::filesystem::exists(probe, ignored));
    bool created = false;
    {
        std::ofstream file(probe, std::ios::binary | std::ios::out | std::ios::app);
        created = file.is_open();
    }
    std::filesystem::remove(probe, ignored);
    return created;
}

Locations locate(const std::string& windowProgramPath, ProgramFolder programFolder) {
    if (programFolder == ProgramFolder::TryWriting &&
        canCreateFileIn(programLocation::folderOf(windowProgramPath))) {
        return {programLocation::besideProgram(windowProgramPath, ".ini"),
                programLocation::besideProgram(windowProgramPath, ".log")};
    }
    const std::string settingsFolder = userSettingsFolder();
    const std::string logFolder = userLogFolder();
    createUserFolder(settingsFolder);
    createUserFolder(logFolder);
    return {settingsFolder + settingsFileName, logFolder + runLogFileName};
}

}  // namespace userFiles
