#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "files/ioError.h"
#include "platform/platform.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

class PlatformTest : public ::testing::Test {
protected:
    std::unique_ptr<platform::Platform> system = platform::createPlatform();
    TempFolder folder;
};

}  // namespace

TEST_F(PlatformTest, StartsTheProgramWithItsArgumentsLiterallyAndWaits) {
    const std::string tool = folder.file("my tool");
    writeRecordingTool(tool, folder.file("args.txt"));
    const std::string odd = folder.file("$HOME; `id` * caf\xc3\xa9");
    ASSERT_TRUE(system->startAndWait("\"" + tool + "\" \"" + odd + "\" 0xbd \"\"", 1));
    EXPECT_EQ(readLines(folder.file("args.txt")),
              (std::vector<std::string>{tool, odd, "0xbd", ""}));
}

TEST_F(PlatformTest, WaitsForTheEndAndIgnoresTheExitStatus) {
    writeScript(folder.file("slow"), "sleep 0.3; echo done > '" + folder.file("out") + "'; exit 3");
    ASSERT_TRUE(system->startAndWait("\"" + folder.file("slow") + "\"", 1));
    EXPECT_EQ(readBytes(folder.file("out")), "done\n");
}

TEST_F(PlatformTest, ToolOutputGoesToTheToolsLogAfterItsCommandLine) {
    writeScript(folder.file("noisy"), "echo out; echo err >&2");
    system->setToolOutputLog(folder.file("tools.log"));
    const std::string commandLine = "\"" + folder.file("noisy") + "\" a";
    ASSERT_TRUE(system->startAndWait(commandLine, 1));
    ASSERT_TRUE(system->startAndWait(commandLine, 1));
    const std::string once = "\r\n>>> " + commandLine + "\r\nout\nerr\n";
    EXPECT_EQ(readBytes(folder.file("tools.log")), once + once);

    system->setToolOutputLog(folder.file("no folder/tools.log"));
    EXPECT_THROW(system->startAndWait(commandLine, 1), IoError);
}

TEST_F(PlatformTest, WhatCannotBeStarted) {
    writeBytes(folder.file("not executable"), "#!/bin/sh\n");
    writeBytes(folder.file("no interpreter"), "");
    std::filesystem::permissions(folder.file("no interpreter"), std::filesystem::perms::owner_all);
    for (const std::string& program :
         {folder.file("missing"), folder.path(), folder.file("not executable"),
          folder.file("no interpreter"), std::string()}) {
        EXPECT_FALSE(system->startAndWait("\"" + program + "\" x", 1)) << program;
    }
}

TEST_F(PlatformTest, FreeSpaceOfTheNearestExistingFolder) {
    const std::int64_t free = system->freeBytesAvailable(folder.path());
    EXPECT_GT(free, 0);
    const std::int64_t below = system->freeBytesAvailable(folder.file("not/yet/made.m2v"));
    EXPECT_NEAR(static_cast<double>(below), static_cast<double>(free), 64.0 * 1024 * 1024);
    EXPECT_THROW(system->freeBytesAvailable(""), IoError);
}

TEST_F(PlatformTest, PowerOffAsksLogindThenFallsBackToSystemctl) {
    // Stand-ins found first in PATH: the real programs are never reached.
    const std::string calls = folder.file("calls");
    writeScript(folder.file("busctl"), "echo \"busctl $*\" >> '" + calls + "'; exit 1");
    writeScript(folder.file("systemctl"), "echo \"systemctl $*\" >> '" + calls + "'; exit 0");
    const char* const path = std::getenv("PATH");
    const std::string savedPath = path != nullptr ? path : "";
    setenv("PATH", folder.path().c_str(), 1);
    const bool accepted = system->requestPowerOff();
    writeScript(folder.file("systemctl"), "exit 1");
    const bool refused = system->requestPowerOff();
    setenv("PATH", savedPath.c_str(), 1);

    EXPECT_TRUE(accepted);
    EXPECT_FALSE(refused);
    const std::vector<std::string> expected{
        "busctl call org.freedesktop.login1 /org/freedesktop/login1 "
        "org.freedesktop.login1.Manager PowerOff b false",
        "systemctl poweroff --no-ask-password"};
    EXPECT_EQ(readLines(calls), (std::vector<std::string>{expected[0], expected[1], expected[0]}));
}
