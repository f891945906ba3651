#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <thread>

#include "files/ioError.h"
#include "platform/platform.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

class Win32PlatformTest : public ::testing::Test {
protected:
    std::unique_ptr<platform::Platform> system = platform::createPlatform();
    TempFolder folder;
    std::string folderPath = std::filesystem::path(folder.path()).make_preferred().string();
};

}  // namespace

TEST_F(Win32PlatformTest, StartsAProgramWhosePathHasSpacesAndWaitsForIt) {
    std::filesystem::create_directory(folderPath + "\\tool folder");
    const std::string tool = installFakeTool(folderPath + "\\tool folder", "my tool");
    const std::string odd = folderPath + "\\out put & %PATH% ^.vob";
    ASSERT_EQ(system->startAndWait("\"" + tool + "\" \"" + odd + "\" 0xbd \"\"", 1), 0);
    EXPECT_EQ(readLines(folderPath + "\\tool folder\\my tool.args"),
              (std::vector<std::string>{tool, odd, "0xbd", ""}));
}

TEST_F(Win32PlatformTest, WaitsForTheEndAndGivesTheExitStatus) {
    const std::string slow = installFakeTool(folderPath, "slow");
    ASSERT_EQ(system->startAndWait("\"" + slow + "\" a", 1), 0);
    EXPECT_EQ(readLines(folderPath + "\\slow.args"), (std::vector<std::string>{slow, "a"}));
    const std::string fails = installFakeTool(folderPath, "fails");
    EXPECT_EQ(system->startAndWait("\"" + fails + "\"", 1), 3);
}

TEST_F(Win32PlatformTest, WhatCannotBeStarted) {
    writeBytes(folderPath + "\\not a program.exe", "text, not a program");
    for (const std::string& program :
         {folderPath + "\\missing.exe", folderPath + "\\no folder\\x.exe",
          folderPath + "\\not a program.exe", std::string()}) {
        EXPECT_EQ(system->startAndWait("\"" + program + "\" x", 1), std::nullopt) << program;
    }
    EXPECT_EQ(system->startAndWait("", 1), std::nullopt);
}

TEST_F(Win32PlatformTest, ToolsKeepTheirOwnConsoleAndNoToolsLogIsWritten) {
    system->setToolOutputLog(folderPath + "\\tools.log");
    const std::string tool = installFakeTool(folderPath, "quiet");
    ASSERT_EQ(system->startAndWait("\"" + tool + "\"", 1), 0);
    EXPECT_FALSE(std::filesystem::exists(folderPath + "\\tools.log"));
}

TEST_F(Win32PlatformTest, FreeSpaceOfTheDestinationDrive) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    EXPECT_GT(system->freeBytesAvailable("C:\\not\\yet\\made.m2v"), 0);
    // The tool starts in the drive root, and the program's own folder stays for the other tasks.
    const std::string driveRoot = system->toolWorkingFolder("C:\\not\\yet\\made.m2v");
    EXPECT_EQ(driveRoot, "C:\\");
    const std::string tool = installFakeTool(folderPath, "where");
    ASSERT_EQ(system->startAndWait("\"" + tool + "\"", 1, driveRoot), 0);
    EXPECT_EQ(readBytes(folderPath + "\\where.cwd"), "C:\\");
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, previous);
    EXPECT_EQ(system->volumeOf("c:\\a"), system->volumeOf("C:\\b\\c"));
    EXPECT_GT(system->freeBytesAvailable("z:\\tmp\\x.VOB"), 0);
    EXPECT_GT(system->freeBytesAvailable(folderPath), 0);
    // No drive letter: the run cannot go on.
    EXPECT_THROW(system->freeBytesAvailable("\\\\server\\share\\x.m2v"), IoError);
    EXPECT_THROW(system->freeBytesAvailable(""), IoError);
    SetCurrentDirectoryA(previous);
}

TEST_F(Win32PlatformTest, ThreadPriorities) {
    std::thread([this] {
        system->setCurrentThreadPriority(platform::ThreadPriority::Lowest);
        EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_LOWEST);
        system->setCurrentThreadPriority(platform::ThreadPriority::BelowNormal);
        EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_BELOW_NORMAL);
    }).join();
}

TEST_F(Win32PlatformTest, ProgramPathAndSystemValues) {
    const std::string program = platform::runningProgramPath();
    EXPECT_TRUE(std::filesystem::is_regular_file(program)) << program;
    EXPECT_EQ(program.substr(program.size() - 4), ".exe");
    EXPECT_STREQ(platform::pathSeparator, "\\");

    const RegionalFormats formats = platform::systemRegionalFormats();
    EXPECT_FALSE(formats.decimalSeparator.empty());
    EXPECT_NE(formats.shortDateFormat.find('d'), std::string::npos) << formats.shortDateFormat;
    EXPECT_NE(formats.longTimeFormat.find('m'), std::string::npos) << formats.longTimeFormat;

    const std::tm local = platform::localTime(0);
    EXPECT_TRUE(local.tm_year == 69 || local.tm_year == 70);
}
