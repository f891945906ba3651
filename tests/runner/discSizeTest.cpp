#include "runner/plan/discSize.h"

#include <gtest/gtest.h>

#include <cmath>

#include "task/task.h"
#include "task/taskChoices.h"

namespace {

double relativeError(std::uint64_t predicted, std::uint64_t actual) {
    return std::fabs(static_cast<double>(predicted) / static_cast<double>(actual) - 1);
}

}  // namespace

// Titles made with ffmpeg, demultiplexed with bbdmux, multiplexed with mplex -f 8, authored with
// dvdauthor and imaged with genisoimage -dvd-video -udf: what each took, against the prediction.
TEST(DiscSizeTest, PredictsTheImageOfTitlesOfSeveralBitRatesWithinAFifthOfAPercent) {
    struct Case {
        const char* name;
        discSize::TitleStreams streams;
        std::uint64_t vobBytes;
        std::uint64_t imageBytes;
    };
    const Case cases[] = {
        {"PAL 8 Mbit/s, 30 s", {30021279, {720384}, 30}, 31209472, 32176128},
        {"PAL 2 Mbit/s, two tracks, 60 s", {15064582, {1440000, 1440000}, 60}, 18454528, 19421184},
        {"NTSC 5 Mbit/s, 60 s", {37534099, {1440000}, 60}, 39710720, 40677376},
        {"PAL 9 Mbit/s, 400 s", {450005942, {9600000}, 400}, 466862080, 467832832},
    };
    for (const Case& each : cases) {
        EXPECT_LT(relativeError(discSize::multiplexedBytes(each.streams), each.vobBytes), 0.002)
            << each.name;
        EXPECT_LT(relativeError(discSize::predictedImageBytes(each.streams), each.imageBytes),
                  0.002)
            << each.name;
    }
    // The file system of the image, and a fitting factor that leaves the margin free.
    EXPECT_EQ(discSize::imageBytes(31246336, 5), 32176128u);
    const discSize::TitleStreams title = cases[3].streams;
    EXPECT_EQ(discSize::fittingFactor(title, 500000000), 1);
    const double factor = discSize::fittingFactor(title, 300000000);
    discSize::TitleStreams fitted = title;
    fitted.videoBytes = static_cast<std::uint64_t>(static_cast<double>(title.videoBytes) / factor);
    EXPECT_NEAR(static_cast<double>(discSize::predictedImageBytes(fitted)), 297e6, 0.5e6);
    EXPECT_TRUE(std::isinf(discSize::fittingFactor(title, 5000000)));
}

TEST(DiscSizeTest, DiscNamesSizesAndTheirWords) {
    EXPECT_EQ(taskChoices::discNamed("DVD-5")->bytes, 4700372992u);
    EXPECT_EQ(taskChoices::discNamed("DVD-9")->bytes, 8543666176u);
    EXPECT_EQ(taskChoices::discNamed("8cm")->bytes, 1459978240u);
    EXPECT_EQ(taskChoices::discNamed("4000MB")->bytes, 4000000000u);
    for (const char* unknown :
         {"", "DVD-7", "dvd-5", "0MB", "MB", "12.5MB", "-4MB", "99999999MB"}) {
        EXPECT_FALSE(taskChoices::discNamed(unknown)) << unknown;
    }
    Ttask task;
    task.extraChoices = "audio=all disc=DVD-9 later";
    EXPECT_EQ(taskChoices::discName(task), "DVD-9");
    taskChoices::setDiscName(task, "8cm");
    taskChoices::setMakesImage(task, true);
    EXPECT_EQ(task.extraChoices, "audio=all later disc=8cm iso");
    taskChoices::setDiscName(task, "");
    EXPECT_EQ(task.extraChoices, "audio=all later iso");
    EXPECT_EQ(discSize::sizeText(4700372992), "4.70 GB");
    EXPECT_EQ(discSize::sizeText(297041920), "297 MB");
}
