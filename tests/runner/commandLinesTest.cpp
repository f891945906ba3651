#include <gtest/gtest.h>

#include "files/textFile.h"
#include "runner/plan/audioTracks.h"
#include "runner/plan/commandLines.h"
#include "runner/plan/subtitleStreams.h"
#include "storage/settings.h"
#include "support/tempFolder.h"
#include "task/task.h"
#include "task/taskChoices.h"

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

TEST_F(CommandLinesTest, EveryAudioTrackHasItsDemultiplexingAndGoesToTheMultiplexerAndTheTitle) {
    using mpeg::AudioFormat;
    const std::vector<AudioTrack> tracks{
        {0x80, AudioFormat::Ac3, R"(D:\my dvd\VTS_01_1.ac3)", "en", std::nullopt},
        {0xc1, AudioFormat::MpegAudio, R"(D:\my dvd\VTS_01_1.2.mp2)", "de", std::nullopt},
        {0xa2, AudioFormat::Lpcm, R"(D:\my dvd\VTS_01_1.3.lpcm)", "", std::nullopt}};
    const char* const demuxed[] = {
        R"("C:\tools\bbdmux.exe" "D:\my dvd\VTS_01_1.VOB" 0xbd "D:\my dvd\VTS_01_1.ac3" 0x80)",
        R"("C:\tools\bbdmux.exe" "D:\my dvd\VTS_01_1.VOB" 0xc1 "D:\my dvd\VTS_01_1.2.mp2")",
        R"("C:\tools\bbdmux.exe" "D:\my dvd\VTS_01_1.VOB" 0xbd "D:\my dvd\VTS_01_1.3.lpcm" 0xa2)"};
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        EXPECT_EQ(audioTrackDemuxCommand(task, tracks[i], tools).commandLine, demuxed[i]);
    }
    EXPECT_EQ(remuxCommand(task, tracks, tools).commandLine,
              R"("C:\tools\mplex.exe" -f 8 -V -o "E:\out\remuxedVTS_01_1.VOB" )"
              R"("D:\my dvd\VTS_01_1.m2v" "D:\my dvd\VTS_01_1.ac3" "D:\my dvd\VTS_01_1.2.mp2" )"
              R"("D:\my dvd\VTS_01_1.3.lpcm")");
    task.chapterList = "00:00:00";
    EXPECT_EQ(titleAuthoringCommand(task, tracks, tools).commandLine,
              R"("C:\Program Files\dvdauthor.exe" -o "E:\out" -t -a ac3+en,mp2+de,pcm -c 00:00:00 )"
              R"(-f "E:\out\remuxedVTS_01_1.VOB")");
    // A language that is no two-letter code would change the argument: it is left out.
    EXPECT_EQ(authoringAudioList({{0x80, AudioFormat::Ac3, "a", "e,", std::nullopt}}), "ac3");
}

TEST(AudioTracks, StreamFilesOfAnEarlierRunAreFoundInTheirOrder) {
    TempFolder folder;
    Ttask task;
    task.origVobFilePath = folder.file("gone.VOB");
    task.ac3FilePath = folder.file("movie.ac3");
    for (const char* name : {"movie.1.mp2", "movie.ac3", "movie.3.ac3", "movie.4.lpcm"}) {
        writeBytes(folder.file(name), "x");
    }
    std::vector<std::string> found;
    for (const AudioTrack& track : everyAudioTrack(task)) {
        found.push_back(track.path.substr(folder.path().size() + 1));
    }
    // The task's own audio path takes the place no numbered file takes.
    EXPECT_EQ(found, (std::vector<std::string>{"movie.1.mp2", "movie.ac3", "movie.3.ac3",
                                               "movie.4.lpcm"}));
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

TEST_F(CommandLinesTest, SubtitlesAreDemultiplexedInOnePassAndAuthoredFromAControlFile) {
    using mpeg::AudioFormat;
    const std::vector<AudioTrack> tracks{
        {0x80, AudioFormat::Ac3, R"(D:\my dvd\VTS_01_1.ac3)", "en", std::nullopt},
        {0x81, AudioFormat::Ac3, R"(D:\my dvd\VTS_01_1.2.ac3)", "", std::nullopt}};
    const std::vector<SubtitleStream> subtitles{{0x20, R"(D:\my dvd\VTS_01_1.s1.spu)", {}},
                                                {0x22, R"(D:\my dvd\VTS_01_1.s3.spu)", {}}};
    EXPECT_EQ(streamsDemuxCommand(task, tracks, subtitles, tools).commandLine,
              R"("C:\tools\bbdmux.exe" "D:\my dvd\VTS_01_1.VOB" --streams 0xe0 )"
              R"("D:\my dvd\VTS_01_1.m2v" 0x80 "D:\my dvd\VTS_01_1.ac3" 0x81 )"
              R"("D:\my dvd\VTS_01_1.2.ac3" 0x20 "D:\my dvd\VTS_01_1.s1.spu" 0x22 )"
              R"("D:\my dvd\VTS_01_1.s3.spu")");
    EXPECT_EQ(remuxCommand(task, tracks, subtitles, tools).commandLine,
              R"("C:\tools\mplex.exe" -f 8 -V -o "E:\out\remuxedVTS_01_1.VOB" )"
              R"("D:\my dvd\VTS_01_1.m2v" "D:\my dvd\VTS_01_1.ac3" "D:\my dvd\VTS_01_1.2.ac3" )"
              R"("D:\my dvd\VTS_01_1.s1.spu" "D:\my dvd\VTS_01_1.s3.spu")");
    EXPECT_EQ(controlledAuthoringCommand(task, authoringControlPath(task), tools).commandLine,
              R"("C:\Program Files\dvdauthor.exe" -o "E:\out" -x )"
              R"("E:\out\remuxedVTS_01_1.VOB.dvdauthor.xml")");
    EXPECT_EQ(taskChoices::subtitleStreamPath(task.ac3FilePath, 0x3f),
              R"(D:\my dvd\VTS_01_1.s32.spu)");
}
