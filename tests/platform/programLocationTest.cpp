#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/programLocation.h"

TEST(ProgramLocation, FilesBesideTheProgram) {
    const std::string s = platform::pathSeparator;
    const std::string bin = s + "opt" + s + "marovink" + s + "bin" + s;
    EXPECT_EQ(programLocation::folderOf(bin + "marovink"), bin);
    EXPECT_EQ(programLocation::besideProgram(bin + "marovink", ".ini"), bin + "marovink.ini");
    EXPECT_EQ(programLocation::besideProgram(bin + "app.exe", ".log"), bin + "app.log");
    EXPECT_EQ(programLocation::toolsLogBeside(bin + "app.log"), bin + "app.tools.log");
    EXPECT_FALSE(platform::runningProgramPath().empty());

    // The licence lies beside a bundle, and with the documents in the installed layout.
    EXPECT_EQ(programLocation::documentPath(bin + "marovink", "gpl.txt"), bin + "gpl.txt");
    const std::string prefix = s + "usr" + s;
    EXPECT_EQ(
        programLocation::documentPath(prefix + "lib" + s + "marovink" + s + "marovink", "gpl.txt"),
        prefix + "share" + s + "doc" + s + "marovink" + s + "gpl.txt");
}

TEST(ProgramLocation, ProgramNameDropsTheFolderAndTheProgramSuffix) {
    const std::string suffix = platform::programFileSuffix;
    const std::string folder =
        std::string("opt") + platform::pathSeparator + "Marovink" + platform::pathSeparator;
    EXPECT_EQ(programLocation::programName(folder + "Marovink" + suffix), "Marovink");
    EXPECT_EQ(programLocation::programName(folder + "my.app" + suffix), "my.app");
    EXPECT_EQ(programLocation::programName(platform::runningProgramPath()), "platform_tests");
    // Too short to carry the suffix: shown whole rather than cut into nothing.
    EXPECT_EQ(programLocation::programName(folder + "x"), "x");
}

TEST(ProgramLocation, SystemSuffixAndToolNames) {
    const std::string suffix = platform::programFileSuffix;
    EXPECT_EQ(std::string(platform::defaultDemuxerName), "bbdmux" + suffix);
    EXPECT_EQ(std::string(platform::defaultMultiplexerName), "mplex" + suffix);
    EXPECT_EQ(std::string(platform::defaultAuthoringName), "dvdauthor" + suffix);
}
