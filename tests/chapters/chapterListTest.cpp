#include <gtest/gtest.h>

#include "chapters/chapterList.h"
#include "files/ioError.h"
#include "regional/regionalFormats.h"
#include "support/tempFolder.h"

using chapters::buildChapterList;

namespace {

std::string built(const std::vector<std::string>& lines, const std::string& standard = "PAL",
                  const RegionalFormats& formats = RegionalFormats()) {
    return buildChapterList(lines, standard, formats);
}

RegionalFormats withSeparators(const std::string& time, const std::string& decimal) {
    RegionalFormats formats;
    formats.timeSeparator = time;
    formats.decimalSeparator = decimal;
    return formats;
}

}  // namespace

TEST(ChapterListTest, FrameNumbersUnderPal) {
    EXPECT_EQ(built({"1500"}), "00:01:00");
    EXPECT_EQ(built({"1012"}), "00:00:40");  // 40.48 s, the fraction dropped
    EXPECT_EQ(built({"0"}), "00:00:00");
    EXPECT_EQ(built({"12"}), "00:00:00");       // a bare number is frames, never hours
    EXPECT_EQ(built({"2160000"}), "00:00:00");  // 24 hours: hours count modulo 24
    EXPECT_EQ(built({" 1500.5 "}), "00:01:00");
    // Too large for milliseconds, yet still a time of day.
    EXPECT_EQ(built({"1E310"}), "");
    EXPECT_EQ(built({"1.7E308"}).size(), std::string("00:00:00").size());
}

TEST(ChapterListTest, AnyStandardButExactlyPalIsNtsc) {
    for (const std::string standard : {"NTSC", "pal", "", "SECAM"}) {
        EXPECT_EQ(built({"1500", "1798", "1799"}, standard), "00:00:50,00:00:59,00:01:00")
            << standard;
    }
}

TEST(ChapterListTest, FourPartTimeGetsADecimalPoint) {
    EXPECT_EQ(built({"00:05:00:12"}), "00:05:00.12");
    EXPECT_EQ(built({"00:05:00:"}), "");
    // The point is literal; where the decimal separator differs the entry fails the check.
    EXPECT_EQ(built({"00:05:00:12"}, "PAL", withSeparators(":", ",")), "");
}

TEST(ChapterListTest, TimesAreCheckedAndKeptAsTyped) {
    EXPECT_EQ(built({"0:5:0", "25:00:00", "00:60:00", "abc", " 00:01:00", "00:10:00 "}),
              "0:5:0, 00:01:00,00:10:00 ");
    EXPECT_EQ(built({"00:05:00", "", "00:10:00"}), "00:05:00,00:10:00");
    EXPECT_EQ(built({"", "   ", "x"}), "");
    EXPECT_EQ(built({}), "");
}

TEST(ChapterListTest, OtherRegionalSeparators) {
    const RegionalFormats dots = withSeparators(".", ",");
    // Converted frame numbers keep their colons, so they fail where the separator differs.
    EXPECT_EQ(built({"00:05:00", "1500", "00.05.00", "00.05.00,5"}, "PAL", dots),
              "00.05.00,00.05.00,5");
    const RegionalFormats comma = withSeparators(":", ",");
    EXPECT_EQ(built({"1500,5"}, "PAL", comma), "00:01:00");
    EXPECT_EQ(built({"1500.5"}, "PAL", comma), "");
    // An entry with the decimal comma splits into two entries when shown again.
    const std::string list = built({"00:05:00,12"}, "PAL", comma);
    EXPECT_EQ(list, "00:05:00,12");
    EXPECT_EQ(chapters::displayForm(list), "00:05:00\r\n12");
    EXPECT_EQ(built({"00:05:00", "12"}, "PAL", comma), "00:05:00,00:00:00");
}

TEST(ChapterListTest, ImportsAFile) {
    TempFolder folder;
    writeBytes(folder.file("CellTimes.txt"), "0\r\n7500\n15000\n");
    EXPECT_EQ(chapters::importChapterFile(folder.file("CellTimes.txt"), "PAL", RegionalFormats()),
              "00:00:00,00:05:00,00:10:00");
    EXPECT_THROW(chapters::importChapterFile(folder.file("none.txt"), "PAL", RegionalFormats()),
                 IoError);
}

TEST(ChapterListTest, NumbersThatAreNotFrameCounts) {
    const RegionalFormats formats;
    for (const std::string text :
         {"", "-", ".", "1e", "inf", "nan", "1,5", "1 2", "0x10", "1e999"}) {
        EXPECT_FALSE(chapters::parseRegionalNumber(text, formats)) << text;
    }
    EXPECT_DOUBLE_EQ(*chapters::parseRegionalNumber("-2.5e1", formats), -25);
    EXPECT_DOUBLE_EQ(*chapters::parseRegionalNumber("+.5", formats), 0.5);
}
