#include <shlobj.h>
#include <windows.h>

#include <cstdlib>

#include "platform/userFiles.h"

namespace userFiles {

namespace {

// The user's roaming application data folder: %APPDATA%, or the shell's answer without it.
std::string applicationDataFolder() {
    const char* value = std::getenv("APPDATA");
    if (value != nullptr && value[0] != '\0') {
        return value;
    }
    char folder[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK) {
        return folder;
    }
    return std::string();
}

}  // namespace

std::string userSettingsFolder() {
    return applicationDataFolder() + "\\Marovink\\";
}

std::string userLogFolder() {
    return userSettingsFolder();
}

}  // namespace userFiles
