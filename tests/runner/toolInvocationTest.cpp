#include <gtest/gtest.h>

#include "files/ioError.h"
#include "files/textFile.h"
#include "platform/platform.h"
#include "runner/exec/spaceReservations.h"
#include "runner/exec/toolInvocation.h"
#include "runner/plan/commandLines.h"
#include "storage/settings.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

class ToolInvocationTest : public ::testing::Test {
protected:
    SetFreeSpace platform;
    RecordedMessages messages;
    std::vector<std::string> taskErrors;
    ToolInvocation tools{platform, messages,
                         [this](const std::string& text) { taskErrors.push_back(text); }};
    TempFolder folder;
};

}  // namespace

TEST_F(ToolInvocationTest, RunsTheToolWithTheTaskPaths) {
    writeRecordingTool(folder.file("mplex"), folder.file("args"));
    Ttask task;
    task.vobFilePath = folder.file("out put.VOB");
    task.m2vFilePath = folder.file("v.m2v");
    task.ac3FilePath = folder.file("a.ac3");
    SettingsValues settings{"", folder.file("mplex"), "", "PAL"};
    EXPECT_EQ(tools.runCommandLine(remuxCommand(task, settings)), 0);
    EXPECT_EQ(readLines(folder.file("args")),
              (std::vector<std::string>{settings.muxExePath, "-f", "8", "-V", "-o",
                                        task.vobFilePath, task.m2vFilePath, task.ac3FilePath}));
    EXPECT_TRUE(messages.warnings.empty());
    EXPECT_TRUE(taskErrors.empty());
}

TEST_F(ToolInvocationTest, FailedStartShowsTheWarningThenReportsTheTaskError) {
    Ttask task;
    SettingsValues settings{folder.file("missing"), "", "", "PAL"};
    const ToolCommand command = videoDemuxCommand(task, settings);
    EXPECT_EQ(tools.runCommandLine(command), std::nullopt);
    EXPECT_EQ(messages.warnings,
              std::vector<std::string>{"The following command line execution failed !" +
                                       command.commandLine});
    EXPECT_EQ(taskErrors, std::vector<std::string>{command.commandLine +
                                                   " command line aborted\r\nThis task won't "
                                                   "continue."});
}

TEST_F(ToolInvocationTest, PathThatWouldChangeTheArgumentsStopsTheToolBeforeItStarts) {
    writeRecordingTool(folder.file("mplex"), folder.file("args"));
    // A quote would split the argument, a leading '-' would be read as an option (mplex wrote a
    // file no task named), a NUL byte would reach the tool cut short.
    for (const std::string& vobPath :
         {folder.file("x\" \"/tmp/elsewhere"), std::string("-o/tmp/x/HIJACK.vob"), std::string("-"),
          folder.file("cut") + std::string(1, '\0') + "short.vob"}) {
        SCOPED_TRACE(vobPath);
        messages.warnings.clear();
        taskErrors.clear();
        Ttask task;
        task.vobFilePath = vobPath;
        task.m2vFilePath = folder.file("v.m2v");
        const ToolCommand command = remuxCommand(task, {"", folder.file("mplex"), "", "PAL"});
        EXPECT_EQ(tools.runCommandLine(command), std::nullopt);
        EXPECT_FALSE(isExistingFile(folder.file("args")));
        EXPECT_EQ(messages.warnings,
                  std::vector<std::string>{"The following command line execution failed !" +
                                           command.commandLine});
        EXPECT_EQ(taskErrors, std::vector<std::string>{command.commandLine +
                                                       " command line aborted\r\nThis task "
                                                       "won't continue."});
    }
    // A dash inside a path, or a tool's own option word, is no reason to stop.
    Ttask task;
    task.vobFilePath = folder.file("-o.vob");
    task.m2vFilePath = "relative-name.m2v";
    EXPECT_EQ(tools.runCommandLine(remuxCommand(task, {"", folder.file("mplex"), "", "PAL"})), 0);
}

TEST_F(ToolInvocationTest, FreeSpaceMustExceedWhatTheInputNeeds) {
    writeBytes(folder.file("in"), std::string(10 * 1024 + 1000, 'x'));  // 10 whole blocks
    const std::int64_t needed = 11776;                                  // 10 * 1024 * 1.15
    platform.freeBytes = needed;
    EXPECT_FALSE(tools.checkFreeSpace(folder.file("in"), "/dest/x.m2v"));
    EXPECT_EQ(taskErrors, std::vector<std::string>{
                              "There is not enough free space on destination drive to process "
                              "/dest/x.m2v"});
    platform.freeBytes = needed + 1;
    EXPECT_TRUE(tools.checkFreeSpace(folder.file("in"), "/dest/x.m2v"));
    platform.freeBytes = -1;
    EXPECT_FALSE(tools.checkFreeSpace(folder.file("in"), "/dest/x.m2v"));

    writeBytes(folder.file("small"), std::string(1023, 'x'));
    platform.freeBytes = 1;
    EXPECT_TRUE(tools.checkFreeSpace(folder.file("small"), "/dest"));
    EXPECT_THROW(tools.checkFreeSpace(folder.file("missing"), "/dest"), IoError);
}

TEST_F(ToolInvocationTest, StagesSideBySideCountWhatTheOthersHaveSetAside) {
    writeBytes(folder.file("in"), std::string(10 * 1024, 'x'));
    const std::int64_t needed = 11776;  // 10 * 1024 * 1.15
    SpaceReservations reservations;
    const auto report = [](const std::string&) {};
    ToolInvocation first(platform, messages, report, &reservations);
    ToolInvocation second(platform, messages, report, &reservations);
    ToolInvocation third(platform, messages, report, &reservations);
    platform.freeBytes = 2 * needed + 1;
    const std::string destination = folder.file("x.m2v");
    EXPECT_TRUE(first.checkFreeSpace(folder.file("in"), destination));
    EXPECT_TRUE(second.checkFreeSpace(folder.file("in"), destination));
    // Room for two stages only: the third waits for one to end.
    EXPECT_FALSE(third.checkFreeSpace(folder.file("in"), destination));
    // A stage checking again replaces what it had set aside.
    EXPECT_TRUE(second.checkFreeSpace(folder.file("in"), destination));
    first.endStage();
    EXPECT_TRUE(third.checkFreeSpace(folder.file("in"), destination));
    // Another drive has room of its own.
    EXPECT_EQ(reservations.reservedByOthers(&first, "another drive"), 0);
    EXPECT_EQ(reservations.reservedByOthers(&first, platform.volumeOf(destination)), 2 * needed);
}
