#include <gtest/gtest.h>

#include "runner/dvdCheck.h"

namespace {

mpeg::TitleSetInfo authored(int chapters, double seconds, std::vector<mpeg::IfoAudioFormat> audio,
                            const char* standard) {
    mpeg::TitleSetInfo dvd;
    dvd.titleCount = 1;
    dvd.chapterCount = chapters;
    dvd.playbackSeconds = seconds;
    for (const mpeg::IfoAudioFormat format : audio) {
        mpeg::IfoAudioStream stream;
        stream.format = format;
        dvd.audioStreams.push_back(stream);
    }
    dvd.standard = standard;
    return dvd;
}

using F = mpeg::IfoAudioFormat;

}  // namespace

TEST(DvdCheckTest, WhatDiffersFromTheVob) {
    struct Case {
        const char* what;
        mpeg::TitleSetInfo dvd;
        VobFacts vob;
        int chapterPoints;
        std::vector<std::string> mismatches;  // after the folder's path
    };
    const std::vector<Case> cases{
        {"all agree", authored(3, 24, {F::Ac3}, "PAL"), {24.5, "PAL", {"ac3"}}, 3, {}},
        {"the VOB shows nothing", authored(1, 0, {}, "PAL"), {std::nullopt, "", {}}, 1, {}},
        {"more chapters than points", authored(5, 24, {F::Ac3}, "PAL"), {{}, "", {}}, 2, {}},
        {"fewer chapters",
         authored(2, 24, {F::Ac3}, "PAL"),
         {{}, "", {}},
         3,
         {" holds fewer chapters than the chapter list has points: 2 < 3"}},
        {"short by one second exactly", authored(1, 23, {}, ""), {24.0, "", {}}, 1, {}},
        {"short by more",
         authored(1, 22.9, {}, ""),
         {24.0, "", {}},
         1,
         {" plays for a shorter time than the remultiplexed VOB's video: 0:00:23 < 0:00:24"}},
        {"an hour short",
         authored(1, 0, {}, ""),
         {3725.0, "", {}},
         1,
         {" plays for a shorter time than the remultiplexed VOB's video: 0:00:00 < 1:02:05"}},
        {"a track of each MPEG kind",
         authored(1, 0, {F::Mpeg1, F::Mpeg2Extended}, ""),
         {{}, "", {"mp2", "mp2"}},
         1,
         {}},
        {"a format missing",
         authored(1, 0, {F::Ac3, F::Ac3}, ""),
         {{}, "", {"ac3", "dts"}},
         1,
         {" lacks an audio track of the remultiplexed VOB: DTS (VOB 1, DVD 0)"}},
        {"fewer tracks of a format",
         authored(1, 0, {F::Ac3, F::Lpcm}, ""),
         {{}, "", {"ac3", "ac3", "lpcm"}},
         1,
         {" lacks an audio track of the remultiplexed VOB: AC-3 (VOB 2, DVD 1)"}},
        {"unknown formats count in number",
         authored(1, 0, {F::Ac3}, ""),
         {{}, "", {"", "ac3"}},
         1,
         {" lacks an audio track of the remultiplexed VOB: audio (VOB 2, DVD 1)"}},
        {"other standard",
         authored(1, 0, {}, "NTSC"),
         {{}, "PAL", {}},
         1,
         {" is NTSC, the remultiplexed VOB is PAL"}},
        {"everything wrong at once",
         authored(1, 1, {}, "PAL"),
         {5.0, "NTSC", {"ac3"}},
         2,
         {" holds fewer chapters than the chapter list has points: 1 < 2",
          " plays for a shorter time than the remultiplexed VOB's video: 0:00:01 < 0:00:05",
          " lacks an audio track of the remultiplexed VOB: AC-3 (VOB 1, DVD 0)",
          " is PAL, the remultiplexed VOB is NTSC"}},
    };
    for (const Case& each : cases) {
        std::vector<std::string> expected;
        for (const std::string& text : each.mismatches) {
            expected.push_back("/d/VIDEO_TS/" + text);
        }
        EXPECT_EQ(dvdMismatches("/d/VIDEO_TS/", each.dvd, each.vob, each.chapterPoints), expected)
            << each.what;
    }
}

TEST(DvdCheckTest, SummaryChapterPointsAndVobFacts) {
    EXPECT_EQ(dvdSummary(authored(3, 24.4, {F::Ac3}, "PAL")),
              "DVD checked: 1 title, 3 chapters, 0:00:24, 1 audio track, PAL ");
    mpeg::TitleSetInfo many = authored(1, 3 * 3600 + 61, {F::Ac3, F::Dts}, "");
    many.titleCount = 2;
    EXPECT_EQ(dvdSummary(many), "DVD checked: 2 titles, 1 chapter, 3:01:01, 2 audio tracks ");

    EXPECT_EQ(chapterPointsOf(""), 1);
    EXPECT_EQ(chapterPointsOf("00:00:00"), 1);
    EXPECT_EQ(chapterPointsOf("00:00:00,00:05:00,00:10:00"), 3);

    mpeg::StreamInfo video;
    video.firstTime = 0.5;
    video.lastTime = 10.46;
    video.frameSeconds = 0.04;
    video.standard = "PAL";
    mpeg::StreamInfo audio;
    audio.kind = mpeg::StreamKind::Audio;
    audio.codec = "ac3";
    mpeg::StreamInfo second = video;  // a second video stream is not the task's
    second.standard = "NTSC";
    const VobFacts facts = vobFactsOf({video, second, audio, audio});
    ASSERT_TRUE(facts.videoSeconds);
    EXPECT_DOUBLE_EQ(*facts.videoSeconds, 10.0);
    EXPECT_EQ(facts.standard, "PAL");
    EXPECT_EQ(facts.audioCodecs, (std::vector<std::string>{"ac3", "ac3"}));
    // Without both time stamps and a frame length the duration stays unknown.
    video.lastTime.reset();
    EXPECT_FALSE(vobFactsOf({video}).videoSeconds);
}
