#include <gtest/gtest.h>

#include <filesystem>

#include "regional/regionalFormats.h"
#include "runner/exec/globalMethods.h"
#include "support/tempFolder.h"

namespace {

const std::string fileMessageStart =
    "The file size doesn't match with expectation.\r\nAn error probably occured, Check it !\r\n"
    "The source file may be too much corrupted\r\n=> Try to cut the video to remove the part on "
    "which the process fails\r\nSee explanations on ";
const std::string videoTsMessageStart =
    "The VIDEO_TS content size doesn't match with expectation.\r\nAn error probably occured !\r\n"
    "Check it. The source file may be too much corrupted. Try using ifoEdit and/or vobEdit "
    "softwares\r\nSee explanations on ";

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

}  // namespace

TEST(OutputSizes, FilesAndVobSets) {
    TempFolder folder;
    writeBytes(folder.file("a"), std::string(1536, 'x'));
    EXPECT_DOUBLE_EQ(fileSizeKb(folder.file("a")), 1.5);
    EXPECT_EQ(fileSizeKb(folder.file("missing")), 0);
    EXPECT_EQ(fileSizeKb(folder.path()), 0);

    const std::string videoTs = folder.path() + "/";
    EXPECT_EQ(vobSetSizeKb(videoTs), 0);
    for (const char* name : {"VTS_01_0.VOB", "VIDEO_TS.VOB", "VTS_01_1.VOB", "VTS_01_2.VOB",
                             "VTS_01_4.VOB", "VTS_02_1.VOB"}) {
        writeBytes(folder.file(name), std::string(1024, 'v'));
    }
    EXPECT_EQ(vobSetSizeKb(videoTs), 2);
}

TEST(OutputSizes, FileOverFourGibibytesMeasuresInFull) {
    TempFolder folder;
    const std::uintmax_t size = 5ULL << 30;
    writeBytes(folder.file("big"), "");
    std::filesystem::resize_file(folder.file("big"), size);  // sparse: takes no room
    EXPECT_EQ(fileSizeKb(folder.file("big")), 5.0 * 1024 * 1024);
}

TEST(OutputSizes, ChecksReportOnlyShortOutputs) {
    TempFolder folder;
    const RegionalFormats formats;
    std::vector<std::string> reports;
    const auto report = [&reports](const std::string& text) { reports.push_back(text); };

    writeBytes(folder.file("out.VOB"), std::string(1000000, 'x'));
    EXPECT_FALSE(checkFileSize(folder.file("out.VOB"), 5, 2000, formats, report));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(startsWith(reports[0], fileMessageStart));
    EXPECT_NE(
        reports[0].find(" if needed.\r\n(size/expected (tolerance) = 977 Ko/2,000 Ko (5 %) )"),
        std::string::npos);

    // An .ac3 passes from 0.4 of its expected size; exactly at the limit passes.
    writeBytes(folder.file("a.ac3"), std::string(4096, 'a'));
    EXPECT_TRUE(checkFileSize(folder.file("a.ac3"), 60, 10, formats, report));
    EXPECT_FALSE(checkFileSize(folder.file("a.ac3"), 60, 10.01, formats, report));
    EXPECT_TRUE(checkFileSize(folder.file("missing"), 5, 0, formats, report));

    const std::string videoTs = folder.path() + "/";
    EXPECT_FALSE(checkVideoTsSize(videoTs, 5, 100, formats, report));
    EXPECT_TRUE(startsWith(reports.back(), videoTsMessageStart));
    EXPECT_NE(reports.back().find("=  Ko/100 Ko (5 %) )"), std::string::npos);
    EXPECT_EQ(reports.size(), 3u);
}
