#include <gtest/gtest.h>

#include "editing/sourceStreams.h"
#include "mpeg/streamListing.h"

namespace {

// A disc's title: two AC-3 tracks, MPEG audio, DTS, 24-bit LPCM and two subtitle streams.
const std::string discListing =
    "0xe0\tvideo\tmpeg2video\t-\t-\t0.500\t60.000\t-\t-\n"
    "0x80\taudio\tac3\t6\t48000\t0.500\t60.000\ten\t-\n"
    "0x81\taudio\tac3\t2\t48000\t0.500\t60.000\tfr\t-\n"
    "0xc2\taudio\tmp2\t2\t48000\t0.500\t60.000\t-\t-\n"
    "0x8b\taudio\tdts\t6\t48000\t0.500\t60.000\tde\t-\n"
    "0xa4\taudio\tlpcm\t2\t48000\t0.500\t60.000\t-\t24\n"
    "0x20\tsubpicture\tsubpicture\t-\t-\t0.500\t60.000\ten\t-\n"
    "0x21\tsubpicture\tsubpicture\t-\t-\t0.500\t60.000\t-\t-\n";

}  // namespace

TEST(SourceStreams, TheEditorListsEveryStreamAndSaysWhatIsLeftOut) {
    const SourceStreamsView every = viewOfSourceStreams(discListing, {true, false, true});
    ASSERT_TRUE(every.listed);
    EXPECT_EQ(every.streamLines, (std::vector<std::string>{
                                     "0xe0   video   mpeg2video", "0x80   audio   ac3   6 ch   en",
                                     "0x81   audio   ac3   2 ch   fr", "0xc2   audio   mp2   2 ch",
                                     "0x8b   audio   dts   6 ch   de", "0xa4   audio   lpcm   2 ch",
                                     "0x20   subtitle   en", "0x21   subtitle"}));
    const std::string untakeable = " : the multiplexer cannot take this track";
    const std::string subtitles =
        "2 subtitle stream(s) : \"Keep every subtitle stream\" is not ticked";
    EXPECT_EQ(every.leftOut,
              (std::vector<std::string>{"0x8b   audio   dts   6 ch   de" + untakeable,
                                        "0xa4   audio   lpcm   2 ch" + untakeable, subtitles}));

    const std::string notFirst = " : only the first AC-3 track is kept";
    EXPECT_EQ(viewOfSourceStreams(discListing, {false, false, true}).leftOut,
              (std::vector<std::string>{"0x81   audio   ac3   2 ch   fr" + notFirst,
                                        "0xc2   audio   mp2   2 ch" + notFirst,
                                        "0x8b   audio   dts   6 ch   de" + untakeable,
                                        "0xa4   audio   lpcm   2 ch" + untakeable, subtitles}));
    EXPECT_TRUE(every.subtitleWarning.empty());

    // Kept subtitles are not left out; without the IFO their colours are a guess, and it is said.
    for (const bool ifoBeside : {true, false}) {
        const SourceStreamsView kept = viewOfSourceStreams(discListing, {true, true, ifoBeside});
        EXPECT_EQ(kept.leftOut.size(), 2u);
        EXPECT_EQ(kept.subtitleWarning.empty(), ifoBeside);
    }

    // A demultiplexer without the option prints its usage, or nothing.
    for (const auto& other : {std::optional<std::string>("usage: demux SOURCE 0xe0 OUT\n"),
                              std::optional<std::string>(""), std::optional<std::string>()}) {
        const SourceStreamsView unknown = viewOfSourceStreams(other, {true, true, false});
        EXPECT_FALSE(unknown.listed);
        EXPECT_TRUE(unknown.streamLines.empty());
    }
}

TEST(SourceStreams, EveryTrackIsKeptByDefaultWhenTheFirstAc3TrackWouldNotDo) {
    const auto streams = [](const std::string& audioLines) {
        return *mpeg::parseStreamListing("0xe0\tvideo\tmpeg2video\t-\t-\t-\t-\t-\t-\n" +
                                         audioLines);
    };
    const std::string ac3 = "0x80\taudio\tac3\t2\t48000\t-\t-\t-\t-\n";
    const std::string mp2 = "0xc0\taudio\tmp2\t2\t48000\t-\t-\t-\t-\n";
    const std::string dts = "0x89\taudio\tdts\t6\t48000\t-\t-\t-\t-\n";
    EXPECT_FALSE(keepEveryTrackByDefault(streams(ac3)));
    EXPECT_TRUE(keepEveryTrackByDefault(streams(mp2)));
    EXPECT_TRUE(keepEveryTrackByDefault(streams(ac3 + dts)));
    EXPECT_TRUE(keepEveryTrackByDefault(streams("")));
    // Something that shows no video is not judged.
    EXPECT_FALSE(keepEveryTrackByDefault(std::vector<mpeg::StreamInfo>()));
}
