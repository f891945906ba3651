#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/userFiles.h"
#include "support/tempFolder.h"

namespace {

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        set(value);
    }
    ~ScopedVariable() { set(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name_, value ? value->c_str() : "");
#else
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
#endif
    }

    const char* name_;
    std::optional<std::string> old_;
};

bool isEmptyFolder(const std::string& folder) {
    return std::filesystem::is_directory(folder) && std::filesystem::is_empty(folder);
}

}  // namespace

TEST(UserFiles, BesideAWritableProgramElseInTheUsersFolders) {
    TempFolder program;
    TempFolder user;
#ifdef _WIN32
    const ScopedVariable appData("APPDATA", user.path());
    const std::string settingsFolder = user.path() + "\\Marovink\\";
    const std::string logFolder = settingsFolder;
#else
    const ScopedVariable config("XDG_CONFIG_HOME", user.file("config"));
    const ScopedVariable state("XDG_STATE_HOME", user.file("state"));
    const std::string settingsFolder = user.file("config/marovink/");
    const std::string logFolder = user.file("state/marovink/");
#endif

    // A folder that can be written keeps the files beside the program, named after it, and the
    // test leaves nothing behind.
    userFiles::Locations files = userFiles::locate(program.file("Marovink.exe"));
    EXPECT_EQ(files.settingsFile, program.file("Marovink.ini"));
    EXPECT_EQ(files.runLog, program.file("Marovink.log"));
    EXPECT_TRUE(isEmptyFolder(program.path()));
    EXPECT_TRUE(isEmptyFolder(user.path()));

    // A folder no file can be created in, and one a test says is not writable, both send the
    // files to the user's folders, which are made for them.
    EXPECT_FALSE(userFiles::canCreateFileIn(program.file("missing")));
    for (const userFiles::Locations& userLocations :
         {userFiles::locate(program.file("missing/marovink")),
          userFiles::locate(program.file("marovink"), userFiles::ProgramFolder::NotWritable)}) {
        EXPECT_EQ(userLocations.settingsFile, settingsFolder + "marovink.ini");
        EXPECT_EQ(userLocations.runLog, logFolder + "marovink.log");
        EXPECT_TRUE(isEmptyFolder(settingsFolder));
        EXPECT_TRUE(isEmptyFolder(logFolder));
    }
}

#ifndef _WIN32
TEST(UserFiles, HomeFoldersWhenTheBaseFolderVariablesAreUnsetOrRelative) {
    TempFolder home;
    const ScopedVariable homeVariable("HOME", home.path());
    const ScopedVariable config("XDG_CONFIG_HOME", std::nullopt);
    const ScopedVariable state("XDG_STATE_HOME", std::string("relative/state"));
    const userFiles::Locations files =
        userFiles::locate(home.file("marovink"), userFiles::ProgramFolder::NotWritable);
    EXPECT_EQ(files.settingsFile, home.file(".config/marovink/marovink.ini"));
    EXPECT_EQ(files.runLog, home.file(".local/state/marovink/marovink.log"));
    EXPECT_EQ(std::filesystem::status(home.file(".local/state/marovink")).permissions(),
              std::filesystem::perms::owner_all);
}
#endif
