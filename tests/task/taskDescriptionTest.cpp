#include <gtest/gtest.h>

#include "task/task.h"
#include "task/taskDescription.h"

using taskDescription::hoverText;
using taskDescription::wrapChapterList;

namespace {

Ttask fullTask() {
    Ttask task;
    task.origVobFilePath = "/dvd/movie.VOB";
    task.m2vFilePath = "/dvd/VTS_01_1.m2v";
    task.ac3FilePath = "/dvd/VTS_01_1.ac3";
    task.vobFilePath = "/dvd/remuxedVTS_01_1.VOB";
    task.dvdFolderPath = "/out";
    task.chapterList = "00:00:00,00:05:00";
    return task;
}

const std::string legend =
    "\r\n\r\n\r\n(\"(tmp)\" means that the file will be deleted when it has been used)";

}  // namespace

TEST(TaskDescriptionTest, FirstFileNameFollowsTheFirstStage) {
    Ttask task = fullTask();
    EXPECT_EQ(taskDescription::firstFileName(task), "/dvd/movie.VOB");
    task.doDemux = false;
    EXPECT_EQ(taskDescription::firstFileName(task), "/dvd/VTS_01_1.m2v");
    task.doRemux = false;
    EXPECT_EQ(taskDescription::firstFileName(task), "/dvd/remuxedVTS_01_1.VOB");
    task.doAuthor = false;
    EXPECT_EQ(taskDescription::firstFileName(task), "");
    EXPECT_EQ(hoverText(task), "");
}

TEST(TaskDescriptionTest, AllStagesWithEveryFileDeleted) {
    Ttask task = fullTask();
    task.deleteOrigVob = task.deleteStreams = task.deleteVob = true;
    EXPECT_EQ(hoverText(task),
              "/dvd/movie.VOB (tmp)\r\n   demuxed to :\r\n/dvd/VTS_01_1.m2v (tmp)\r\n"
              "/dvd/VTS_01_1.ac3 (tmp)\r\n   remuxed to :\r\n/dvd/remuxedVTS_01_1.VOB (tmp)\r\n"
              "   re-authored into :\r\n/out\r\n   with chapters :\r\n00:00:00,00:05:00" +
                  legend);
}

TEST(TaskDescriptionTest, OnlyRemuxStartsWithALineBreakAndHasNoLegend) {
    Ttask task = fullTask();
    task.doDemux = task.doAuthor = false;
    task.deleteOrigVob = true;  // no mark: the source is not part of the task
    EXPECT_EQ(hoverText(task),
              "\r\n/dvd/VTS_01_1.m2v\r\n/dvd/VTS_01_1.ac3\r\n   remuxed to :\r\n"
              "/dvd/remuxedVTS_01_1.VOB");
    // A task keeping every audio track, or every subtitle stream, says so last.
    task.extraChoices = "audio=all subtitles=all";
    EXPECT_EQ(hoverText(task),
              "\r\n/dvd/VTS_01_1.m2v\r\n/dvd/VTS_01_1.ac3\r\n   remuxed to :\r\n"
              "/dvd/remuxedVTS_01_1.VOB\r\nevery audio track\r\nevery subtitle stream");
}

TEST(TaskDescriptionTest, OnlyAuthorHasTheLegendWithoutAnyMark) {
    Ttask task = fullTask();
    task.doDemux = task.doRemux = false;
    task.chapterList.clear();
    EXPECT_EQ(hoverText(task),
              "\r\n/dvd/remuxedVTS_01_1.VOB\r\n   re-authored into :\r\n/out\r\n"
              "   with chapters :\r\n" +
                  legend);
    // Its disc and image, last; a task that authors nothing has neither.
    task.extraChoices = "disc=DVD-5 iso";
    EXPECT_EQ(hoverText(task),
              "\r\n/dvd/remuxedVTS_01_1.VOB\r\n   re-authored into :\r\n/out\r\n"
              "   with chapters :\r\n" +
                  legend + "\r\nfitted to the disc DVD-5\r\nits image /out.iso");
    task.doAuthor = false;
    EXPECT_EQ(hoverText(task).find("disc"), std::string::npos);
}

TEST(TaskDescriptionTest, ChapterListWrapsAfterCommasAt45Characters) {
    const std::string five = "00:00:00,00:05:00,00:10:00,00:15:00,00:20:00,";
    EXPECT_EQ(wrapChapterList(""), "");
    EXPECT_EQ(wrapChapterList("00:00:00"), "00:00:00");
    EXPECT_EQ(wrapChapterList(five + "00:25:00"), five + "\r\n00:25:00");
    EXPECT_EQ(wrapChapterList(five + "00:25:00," + five.substr(9) + "01:00:00"),
              five + "\r\n00:25:00," + five.substr(9) + "\r\n01:00:00");
    // Without a comma the line runs on to the next one.
    const std::string long50(50, 'x');
    EXPECT_EQ(wrapChapterList(long50 + ",1,2"), long50 + ",\r\n1,2");
    // Cut after the last comma within the 45 characters; the rest starts the next line.
    const std::string at40 = std::string(40, 'a') + ",";
    EXPECT_EQ(wrapChapterList(at40 + "bbbbbbbbbb,c"), at40 + "\r\nbbbbbbbbbb,c");
    // A comma in the first column is no break point.
    EXPECT_EQ(wrapChapterList("," + std::string(50, 'y') + ",z"),
              "," + std::string(50, 'y') + ",\r\nz");
    // A list that ends exactly at a break gets no line break after it.
    EXPECT_EQ(wrapChapterList(five), five);
}
