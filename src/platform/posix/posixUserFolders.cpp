#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/userFiles.h"

namespace userFiles {

namespace {

// The folder an XDG base directory variable names, or homeFallback under the home folder when
// it is unset, empty or relative (relative values are to be ignored).
std::string baseFolder(const char* variable, const char* homeFallback) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return std::string(value) + "/";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : "";
    }
    return std::string(home) + "/" + homeFallback + "/";
}

}  // namespace

std::string userSettingsFolder() {
    return baseFolder("XDG_CONFIG_HOME", ".config") + "marovink/";
}

std::string userLogFolder() {
    return baseFolder("XDG_STATE_HOME", ".local/state") + "marovink/";
}

}  // namespace userFiles
