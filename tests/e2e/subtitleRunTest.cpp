// Subtitles kept through a run with the real tools, judged as a player reads the DVD: lsdvd for
// the streams, their languages, the forced flag and the palette; ffprobe for when each subtitle
// is shown against the video.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/batchProcess.h"
#include "support/subtitleMaterial.h"
#include "support/syncMaterial.h"
#include "support/tempFolder.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace {

// A subtitle shown a frame late or early is not noticed; two frames are.
constexpr double toleranceSeconds = 0.040;
constexpr double sourceSeconds = 12;

// The lines of text that hold `key`, in order.
std::vector<std::string> linesWith(const std::string& text, const std::string& key) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (line.find(key) != std::string::npos) {
            lines.push_back(line.substr(line.find_first_not_of(" \t")));
        }
    }
    return lines;
}

}  // namespace

TEST(SubtitleRunTest, SubtitlesKeepTheirLanguagesForcedFlagPaletteAndTime) {
    TempFolder folder;
    const std::string plain = folder.file("plain.VOB");
    ASSERT_TRUE(makeSyncSource(plain, static_cast<int>(sourceSeconds)));
    const std::vector<std::string> palette{
        "000000", "ff0000", "00ff00", "0000ff", "ffff00", "ff00ff", "00ffff", "ffffff",
        "808080", "800000", "008000", "000080", "808000", "800080", "008080", "c0c0c0"};
    const std::vector<SubtitleStreamSpec> streams{{"en", false, {1.0, 5.0, 9.0}},
                                                  {"de", true, {3.0, 7.0}}};
    ASSERT_TRUE(makeSubtitledDisc(plain, folder.file("disc"), streams, palette));
    const std::string ripped = folder.file("disc/VIDEO_TS/VTS_01_1.VOB");
    // The same title twice in one VOB, its time stamps starting again in the second piece, beside
    // the title set's IFO.
    std::filesystem::create_directories(folder.file("pieces"));
    const std::string pieces = folder.file("pieces/VTS_01_1.VOB");
    ASSERT_TRUE(concatenate({ripped, ripped}, pieces));
    std::filesystem::copy_file(folder.file("disc/VIDEO_TS/VTS_01_0.IFO"),
                               folder.file("pieces/VTS_01_0.IFO"));

    struct Case {
        const char* what;
        std::string source;
        double repeatAfter;  // seconds; 0 when the title plays once
    };
    const std::vector<Case> cases{{"a ripped title", ripped, 0},
                                  {"a title of two pieces", pieces, sourceSeconds}};
    const auto sourceStarts = subtitleStartsOf(ripped, folder.file("probing"));
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        TAllTask tasks;
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = test.source;
        task->m2vFilePath = folder.file("work.m2v");
        task->ac3FilePath = folder.file("work.ac3");
        task->vobFilePath = folder.file("remuxed.VOB");
        task->dvdFolderPath = folder.file(std::string("dvd ") + (test.repeatAfter > 0 ? "2" : "1"));
        task->chapterList = "00:00:00";
        task->deleteStreams = true;
        taskChoices::setKeepEverySubtitleStream(*task, true);
        tasks.add(task);
        const BatchOutcome outcome = runWithBundledTools(folder, tasks);
        const std::string log = readBytes(folder.file("run.log"));
        EXPECT_EQ(outcome.status, 0) << log;
        EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
        EXPECT_NE(log.find("Subtitles for the DVD: 2 streams (en, de forced), the palette of "
                           "VTS_01_0.IFO"),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find("1 audio track, 2 subtitle streams, PAL"), std::string::npos) << log;
        // Nothing of the subtitles is left beside the remultiplexed VOB.
        EXPECT_FALSE(std::filesystem::exists(folder.file("remuxed.VOB.dvdauthor.xml")));
        EXPECT_FALSE(std::filesystem::exists(folder.file("work.s1.spu")));

        const std::string view = lsdvdView(task->dvdFolderPath, folder.file("reading"));
        EXPECT_EQ(linesWith(view, "Subtitle:"),
                  (std::vector<std::string>{
                      "Subtitle: 01, Language: en - English, Content: Undefined, Stream id: 0x20, ",
                      "Subtitle: 02, Language: de - Deutsch, Content: Forced, Stream id: 0x21, "}))
            << view;
        EXPECT_EQ(linesWith(view, "Palette:"),
                  linesWith(lsdvdView(folder.file("disc"), folder.file("reading")), "Palette:"));

        const auto authoredStarts = subtitleStartsOf(task->dvdFolderPath + "/VIDEO_TS/VTS_01_1.VOB",
                                                     folder.file("probing"));
        for (const int stream : {0x20, 0x21}) {
            std::vector<double> expected = sourceStarts.at(stream);
            if (test.repeatAfter > 0) {
                for (const double start : sourceStarts.at(stream)) {
                    expected.push_back(start + test.repeatAfter);
                }
            }
            ASSERT_EQ(authoredStarts.count(stream), 1u) << stream;
            const std::vector<double>& authored = authoredStarts.at(stream);
            ASSERT_EQ(authored.size(), expected.size()) << stream;
            for (std::size_t index = 0; index < expected.size(); ++index) {
                EXPECT_NEAR(authored[index], expected[index], toleranceSeconds)
                    << stream << " #" << index;
                RecordProperty(
                    std::string(test.repeatAfter > 0 ? "pieces" : "ripped") + "_" +
                        std::to_string(stream) + "_" + std::to_string(index),
                    std::to_string(expected[index]) + " -> " + std::to_string(authored[index]));
            }
        }
    }
}
