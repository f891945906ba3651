#include <gtest/gtest.h>

#include "runner/exec/dvdCheck.h"

namespace {

using F = mpeg::IfoAudioFormat;

mpeg::TitleSetInfo authored(int chapters, double seconds, std::vector<F> audio,
                            const char* standard) {
    mpeg::TitleSetInfo dvd;
    dvd.titleCount = 1;
    dvd.chapterCount = chapters;
    dvd.playbackSeconds = seconds;
    for (const F format : audio) {
        dvd.audioStreams.push_back({format, 2, ""});
    }
    dvd.standard = standard;
    return dvd;
}

const std::string lacks = " lacks an audio track of the remultiplexed VOB: ";
const std::string shorter = " plays for a shorter time than the remultiplexed VOB's video: ";

}  // namespace

TEST(DvdCheckTest, WhatDiffersFromTheVob) {
    struct Case {
        mpeg::TitleSetInfo dvd;
        VobFacts vob;
        int chapterPoints;
        std::vector<std::string> mismatches;
    };
    const Case cases[] = {
        {authored(3, 24, {F::Ac3}, "PAL"), {24.5, "PAL", {"ac3"}}, 3, {}},
        {authored(1, 0, {}, "PAL"), {}, 1, {}},  // the VOB shows nothing
        {authored(5, 0, {}, ""), {}, 2, {}},
        {authored(2, 0, {}, ""),
         {},
         3,
         {" holds fewer chapters than the chapter list has points: 2 < 3"}},
        {authored(1, 23, {}, ""), {24.0, "", {}}, 1, {}},
        {authored(1, 22.9, {}, ""), {24.0, "", {}}, 1, {shorter + "0:00:23 < 0:00:24"}},
        {authored(1, 0, {}, ""), {3725.0, "", {}}, 1, {shorter + "0:00:00 < 1:02:05"}},
        {authored(1, 0, {F::Mpeg1, F::Mpeg2Extended}, ""), {{}, "", {"mp2", "mp1"}}, 1, {}},
        {authored(1, 0, {F::Ac3, F::Ac3}, ""),
         {{}, "", {"ac3", "dts"}},
         1,
         {lacks + "DTS (VOB 1, DVD 0)"}},
        {authored(1, 0, {F::Ac3, F::Lpcm}, ""),
         {{}, "", {"ac3", "ac3", "lpcm"}},
         1,
         {lacks + "AC-3 (VOB 2, DVD 1)"}},
        // Streams of a format the survey cannot name count in number only.
        {authored(1, 0, {F::Ac3}, ""), {{}, "", {"", "ac3"}}, 1, {lacks + "audio (VOB 2, DVD 1)"}},
        {authored(1, 0, {}, "NTSC"),
         {{}, "PAL", {}},
         1,
         {" is NTSC, the remultiplexed VOB is PAL"}},
        {authored(1, 0, {}, ""),
         {{}, "", {}, 2},
         1,
         {" holds a title of several video streams, as the remultiplexed VOB does, where a DVD "
          "title carries one: 2"}},
        {authored(0, 0, {}, "PAL"),
         {2.0, "NTSC", {"ac3"}},
         1,
         {" holds fewer chapters than the chapter list has points: 0 < 1",
          shorter + "0:00:00 < 0:00:02", lacks + "AC-3 (VOB 1, DVD 0)",
          " is PAL, the remultiplexed VOB is NTSC"}},
    };
    for (const Case& each : cases) {
        std::vector<std::string> expected;
        for (const std::string& text : each.mismatches) {
            expected.push_back("/d/VIDEO_TS/" + text);
        }
        EXPECT_EQ(dvdMismatches("/d/VIDEO_TS/", each.dvd, each.vob, each.chapterPoints), expected);
    }

    // A task keeping subtitles: the DVD must offer every stream it kept.
    mpeg::TitleSetInfo subtitled = authored(1, 0, {}, "PAL");
    subtitled.subtitleStreamCount = 1;
    EXPECT_EQ(dvdMismatches("/d/VIDEO_TS/", subtitled, {}, 1, 2),
              (std::vector<std::string>{
                  "/d/VIDEO_TS/ holds fewer subtitle streams than the task keeps: 1 < 2"}));
    EXPECT_TRUE(dvdMismatches("/d/VIDEO_TS/", subtitled, {}, 1, 1).empty());
    EXPECT_EQ(dvdSummary(subtitled, 1),
              "DVD checked: 1 title, 1 chapter, 0:00:00, 0 audio tracks, 1 subtitle stream, PAL ");
}

TEST(DvdCheckTest, SummaryChapterPointsAndVobFacts) {
    EXPECT_EQ(dvdSummary(authored(3, 24.4, {F::Ac3}, "PAL")),
              "DVD checked: 1 title, 3 chapters, 0:00:24, 1 audio track, PAL ");
    mpeg::TitleSetInfo many = authored(1, 3 * 3600 + 61, {F::Ac3, F::Dts}, "");
    many.titleCount = 2;
    EXPECT_EQ(dvdSummary(many), "DVD checked: 2 titles, 1 chapter, 3:01:01, 2 audio tracks ");
    EXPECT_EQ(chapterPointsOf(""), 1);
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
    EXPECT_DOUBLE_EQ(facts.videoSeconds.value_or(0), 10.0);
    EXPECT_EQ(facts.standard, "PAL");
    EXPECT_EQ(facts.audioCodecs, (std::vector<std::string>{"ac3", "ac3"}));
    EXPECT_EQ(facts.videoStreams, 2);
    video.lastTime.reset();
    EXPECT_FALSE(vobFactsOf({video}).videoSeconds);
}
