#include <gtest/gtest.h>

#include "runner/plan/subtitleStreams.h"
#include "support/subtitleDisplaysText.h"
#include "task/task.h"

namespace {

std::vector<SubtitleStream> kept(const std::vector<int>& ids) {
    std::vector<SubtitleStream> streams;
    for (const int id : ids) {
        streams.push_back({id, "s.spu", {}});
    }
    return streams;
}

}  // namespace

TEST(SubtitleStreamsTest, TheDvdsStreamsFollowTheTitleWhatTheVobCarriesAndTheVideosShape) {
    mpeg::TitleSubtitles fourThree;
    fourThree.streams = {{"en", false, {0, -1, -1, -1}}, {"de", true, {1, -1, -1, -1}}};
    mpeg::TitleSubtitles wide;
    wide.wideScreen = true;
    wide.streams = {{"en", false, {-1, 0, 1, -1}}, {"fr", false, {-1, 2, 3, -1}}};
    struct Case {
        const char* what;
        std::vector<int> kept;
        std::optional<mpeg::TitleSubtitles> title;
        bool videoIsWide;
        std::vector<std::string> authored;
    };
    const std::vector<Case> cases{
        {"4:3 as the title says",
         {0x20, 0x21},
         fourThree,
         false,
         {"en 0/-1/-1/-1", "de forced 1/-1/-1/-1"}},
        {"16:9 with letterboxed streams of their own",
         {0x20, 0x21, 0x22, 0x23},
         wide,
         true,
         {"en -1/0/1/-1", "fr -1/2/3/-1"}},
        {"a stream the VOB lacks loses its mode",
         {0x20, 0x22},
         wide,
         true,
         {"en -1/0/-1/-1", "fr -1/2/-1/-1"}},
        {"a 4:3 IFO over 16:9 video",
         {0x20, 0x21},
         fourThree,
         true,
         {"en -1/0/-1/-1", "de forced -1/1/-1/-1"}},
        {"a 16:9 IFO over 4:3 video",
         {0x20, 0x22},
         wide,
         false,
         {"en 0/-1/-1/-1", "fr 2/-1/-1/-1"}},
        {"a stream the title does not name",
         {0x20, 0x21, 0x24},
         fourThree,
         false,
         {"en 0/-1/-1/-1", "de forced 1/-1/-1/-1", " 4/-1/-1/-1"}},
        {"no IFO: dvdauthor numbers them",
         {0x20, 0x21},
         std::nullopt,
         false,
         {" -1/-1/-1/-1", " -1/-1/-1/-1"}},
        {"no IFO and a gap", {0x20, 0x22}, std::nullopt, true, {" -1/0/-1/-1", " -1/2/-1/-1"}},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(
            subtitleDisplaysText(authoredSubtitles(kept(test.kept), test.title, test.videoIsWide)),
            test.authored)
            << test.what;
    }
}

TEST(SubtitleStreamsTest, TheControlFileNamesEverythingTheTitleRunNeeds) {
    Ttask task;
    task.vobFilePath = "/out/A & B/remuxed.VOB";
    task.chapterList = "00:00:00, 00:05:00";
    const std::vector<AudioTrack> tracks{
        {0x80, mpeg::AudioFormat::Ac3, "a.ac3", "en", std::nullopt},
        {0xa0, mpeg::AudioFormat::Lpcm, "a.2.lpcm", "x\"", std::nullopt}};
    AuthoredSubtitle english;
    english.language = "en";
    english.displays.wide = 0;
    english.displays.letterbox = 1;
    AuthoredSubtitle forced;
    forced.forcedOnly = true;
    EXPECT_EQ(authoringControlFile(task, tracks, {english, forced}, "/out/p<1>.yuv"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<dvdauthor>\n <titleset>\n  <titles>\n"
              "   <audio format=\"ac3\" lang=\"en\"/>\n"
              "   <audio format=\"pcm\"/>\n"
              "   <subpicture lang=\"en\">\n"
              "    <stream id=\"0\" mode=\"widescreen\"/>\n"
              "    <stream id=\"1\" mode=\"letterbox\"/>\n"
              "   </subpicture>\n"
              "   <subpicture content=\"forced\"/>\n"
              "   <pgc palette=\"/out/p&lt;1&gt;.yuv\">\n"
              "    <vob file=\"/out/A &amp; B/remuxed.VOB\" chapters=\"00:00:00,00:05:00\"/>\n"
              "   </pgc>\n  </titles>\n </titleset>\n</dvdauthor>\n");
    EXPECT_EQ(subtitleSummary({english, forced}, "/src/VTS_02_0.IFO"),
              "Subtitles for the DVD: 2 streams (en, no language forced), the palette of "
              "VTS_02_0.IFO ");
}
