#include <gtest/gtest.h>

#include "runner/commandLines.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

class CommandLinesTest : public ::testing::Test {
protected:
    CommandLinesTest() {
        task.origVobFilePath = "D:\\my dvd\\VTS_01_1.VOB";
        task.m2vFilePath = "D:\\my dvd\\VTS_01_1.m2v";
        task.ac3FilePath = "D:\\my dvd\\VTS_01_1.ac3";
        task.vobFilePath = "E:\\out\\remuxedVTS_01_1.VOB";
        task.dvdFolderPath = "E:\\out";
    }

    Ttask task;
    SettingsValues tools{"C:\\tools\\bbdmux.exe", "C:\\tools\\mplex.exe",
                         "C:\\Program Files\\dvdauthor.exe", "PAL"};
};

}  // namespace

TEST_F(CommandLinesTest, TheSixCommandLinesByteForByte) {
    EXPECT_EQ(
        audioDemuxCommand(task, tools).commandLine,
        R"("C:\tools\bbdmux.exe" "D:\my dvd\VTS_01_1.VOB" 0xbd "D:\my dvd\VTS_01_1.ac3" 0x80)");
    EXPECT_EQ(videoDemuxCommand(task, tools).commandLine,
              R"("C:\tools\bbdmux.exe" "D:\my dvd\VTS_01_1.VOB" 0xe0 "D:\my dvd\VTS_01_1.m2v")");
    EXPECT_EQ(remuxCommand(task, tools).commandLine,
              R"("C:\tools\mplex.exe" -f 8 -V -o "E:\out\remuxedVTS_01_1.VOB" )"
              R"("D:\my dvd\VTS_01_1.m2v" "D:\my dvd\VTS_01_1.ac3")");
    EXPECT_EQ(titleAuthoringCommand(task, tools).commandLine,
              R"("C:\Program Files\dvdauthor.exe" -o "E:\out" -t -f "E:\out\remuxedVTS_01_1.VOB")");
    task.chapterList = "00:00:00,00:05:00";
    EXPECT_EQ(titleAuthoringCommand(task, tools).commandLine,
              R"("C:\Program Files\dvdauthor.exe" -o "E:\out" -t -c 00:00:00,00:05:00 -f )"
              R"("E:\out\remuxedVTS_01_1.VOB")");
    EXPECT_EQ(tableOfContentsCommand(task, tools).commandLine,
              R"("C:\Program Files\dvdauthor.exe" -o "E:\out" -T)");
}

TEST_F(CommandLinesTest, ArgumentsAreTheTaskTextsAndSplitBackToThem) {
    task.chapterList = "00:00:00,00:05:00";
    const ToolCommand title = titleAuthoringCommand(task, tools);
    EXPECT_EQ(title.arguments,
              (std::vector<std::string>{tools.authorExePath, "-o", "E:\\out", "-t", "-c",
                                        "00:00:00,00:05:00", "-f", task.vobFilePath}));
    for (const ToolCommand& command :
         {audioDemuxCommand(task, tools), videoDemuxCommand(task, tools), remuxCommand(task, tools),
          title, tableOfContentsCommand(task, tools)}) {
        EXPECT_TRUE(command.isSafe()) << command.commandLine;
    }
}

TEST_F(CommandLinesTest, NoTaskTextCanAddOrSplitArguments) {
    task.vobFilePath = "E:\\x\" -o \"C:\\Windows";
    EXPECT_FALSE(remuxCommand(task, tools).isSafe());
    EXPECT_FALSE(titleAuthoringCommand(task, tools).isSafe());
    EXPECT_TRUE(audioDemuxCommand(task, tools).isSafe());

    task.dvdFolderPath = "E:\\out\\";  // the closing quote would be escaped
    EXPECT_FALSE(tableOfContentsCommand(task, tools).isSafe());

    task.dvdFolderPath = "E:\\out";
    task.vobFilePath = "E:\\v.VOB";
    task.chapterList = " 00:00:00, 00:05:00\t";
    EXPECT_EQ(
        titleAuthoringCommand(task, tools).commandLine,
        R"("C:\Program Files\dvdauthor.exe" -o "E:\out" -t -c 00:00:00,00:05:00 -f "E:\v.VOB")");
    task.chapterList = "   ";
    EXPECT_EQ(titleAuthoringCommand(task, tools).commandLine,
              R"("C:\Program Files\dvdauthor.exe" -o "E:\out" -t -f "E:\v.VOB")");
    task.chapterList = "00:00:00,\"-T";
    EXPECT_FALSE(titleAuthoringCommand(task, tools).isSafe());
}
