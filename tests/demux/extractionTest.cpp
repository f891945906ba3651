// The demultiplexer on program streams made byte by byte: where each output begins, and how an
// audio track is lined up with the video's first picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "demux/streamExtraction.h"
#include "files/textFile.h"
#include "mpeg/silentFrames.h"
#include "mpeg/streamListing.h"
#include "support/tempFolder.h"
#include "syntheticStream.h"

namespace {

constexpr std::int64_t videoStart = 90000;  // the first group's first picture: one second

// Groups of pictures in decode order, I P B B: each shown B B I P, the first from videoStart on,
// then one picture of a last group. The I picture's packet alone carries a time stamp, as many
// multiplexers write them. Six groups are longer than every track the tests make.
void addGroup(SyntheticStream& stream, bool closed, int groups = 6) {
    for (int group = 0; group < groups; ++group) {
        const std::int64_t start = videoStart + group * 4 * frameTicks;
        stream.video(
            (group == 0 ? sequenceHeader() : std::string()) + groupHeader(closed) + picture(2, 1),
            start + 2 * frameTicks);
        stream.video(picture(3, 2));
        stream.video(picture(0, 3) + picture(1, 3));
    }
    stream.video(groupHeader(true) + picture(0, 1));
}

std::string ac3Frames(int first, int count) {
    std::string frames;
    for (int i = first; i < first + count; ++i) {
        frames += ac3Frame(static_cast<char>('A' + i % 26));
    }
    return frames;
}

class ExtractionTest : public ::testing::Test {
protected:
    demux::ExtractionReport extract(int streamId) {
        writeBytes(folder.file("source.vob"), stream.bytes());
        return demux::extractStream(folder.file("source.vob"), streamId, output());
    }
    std::string output() const { return folder.file("out"); }

    TempFolder folder;
    SyntheticStream stream;
};

}  // namespace

TEST_F(ExtractionTest, VideoBeginsAtItsFirstSequenceHeaderWithTheBrokenLinkOfAnOpenGroup) {
    // The tail of a picture cut at the source's start, then the first whole group.
    stream.garbage(std::string(700, '\x5a'));
    stream.video(std::string("\x00\x00\x01\x01", 4) + std::string(100, 'x'));
    addGroup(stream, false);
    const demux::ExtractionReport report = extract(0xe0);

    const std::string video = readBytes(output());
    ASSERT_EQ(video.rfind(sequenceHeader(), 0), 0u);
    const std::string openGroup = groupHeader(false);
    std::string broken = openGroup;
    broken.back() = '\x20';
    EXPECT_EQ(video.substr(sequenceHeader().size(), 8), broken);
    EXPECT_EQ(report.bytesPassedOver, 104u);
    EXPECT_EQ(report.videoStart, videoStart);
}

TEST_F(ExtractionTest, AudioIsLinedUpWithTheVideosFirstPictureInWholeFrames) {
    struct Case {
        const char* name;
        std::int64_t audioOffset;  // of the first whole frame's time stamp from the video's start
        int silentFrames;
        int framesLeftOut;
    };
    const Case cases[] = {
        {"in step", 0, 0, 0},
        {"within half a frame", 1400, 0, 0},
        {"410 ms late", 36900, 13, 0},
        {"300 ms early", -27000, 0, 9},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        stream = SyntheticStream();
        // The audio comes first in the file, as multiplexers place it, and its first packet
        // begins with the tail of a frame that the pointer skips.
        const std::string frames = ac3Frames(0, 40);
        const std::string cutTail(50, 'z');
        stream.privateAudio(0x80, cutTail + frames.substr(0, 1000), videoStart + test.audioOffset,
                            static_cast<int>(cutTail.size()) + 1);
        addGroup(stream, true);
        // The last frame is cut by the end of the source.
        stream.privateAudio(0x80, frames.substr(1000, frames.size() - 1000 - 60), std::nullopt, 0);
        const demux::ExtractionReport report = extract(0x80);

        const std::string audio = readBytes(output());
        const auto silent =
            mpeg::silentAc3Frame(reinterpret_cast<const std::uint8_t*>(frames.data()), 128);
        ASSERT_TRUE(silent);
        const std::string silence(silent->begin(), silent->end());
        std::string expected;
        for (int i = 0; i < test.silentFrames; ++i) {
            expected += silence;
        }
        expected += ac3Frames(test.framesLeftOut, 39 - test.framesLeftOut);
        EXPECT_EQ(audio.size(), expected.size());
        EXPECT_TRUE(audio == expected);
        EXPECT_EQ(report.silenceAdded, test.silentFrames);
        EXPECT_EQ(report.unitsLeftOut, test.framesLeftOut);
        ASSERT_TRUE(report.outputStart);
        EXPECT_LE(std::abs(*report.outputStart - videoStart), ac3FrameTicks / 2);
    }
}

TEST_F(ExtractionTest, MpegAudioAndLpcmAreLinedUpInTheirOwnUnits) {
    // MPEG audio has no frame pointer: its first frame is found by its header.
    std::string mp2;
    for (int i = 0; i < 20; ++i) {
        mp2 += mp2Frame(static_cast<char>('a' + i));
    }
    stream.mpegAudio(0xc0, std::string(30, 'q') + mp2, videoStart + 2160 * 3);
    // LPCM, stereo 16-bit: 4-byte sample groups, 100 ms late. Its pointer counts the three bytes
    // of its own header.
    stream.privateAudio(0xa0, std::string(4000, '\x11'), videoStart + 9000, 4);
    addGroup(stream, true);

    demux::ExtractionReport report = extract(0xc0);
    std::string audio = readBytes(output());
    EXPECT_EQ(report.silenceAdded, 3);
    ASSERT_EQ(audio.size(), 23u * 96);
    EXPECT_TRUE(audio.substr(3 * 96) == mp2);
    EXPECT_TRUE(audio.substr(4, 92) == std::string(92, '\0'));

    report = extract(0xa0);
    audio = readBytes(output());
    EXPECT_EQ(report.silenceAdded, 4800);  // samples of 100 ms at 48 kHz
    EXPECT_TRUE(audio == std::string(4800 * 4, '\0') + std::string(4000, '\x11'));
}

TEST_F(ExtractionTest, FailuresLeaveNoOutputAndWhatWasThereAsItWas) {
    addGroup(stream, true);
    EXPECT_THROW(extract(0x81), demux::DemuxError);
    EXPECT_FALSE(std::filesystem::exists(output()));

    writeBytes(output(), "an old output");
    stream = SyntheticStream();
    stream.garbage(std::string(5000, '\x01'));
    EXPECT_THROW(extract(0xe0), demux::DemuxError);
    EXPECT_EQ(readBytes(output()), "an old output");
    std::filesystem::remove(output());

    EXPECT_THROW(demux::extractStream(folder.file("missing.vob"), 0xe0, output()),
                 demux::DemuxError);
    EXPECT_FALSE(std::filesystem::exists(output()));
}

TEST_F(ExtractionTest, ListingNamesEveryStreamWithItsFormatAndTimes) {
    stream.privateAudio(0x80, ac3Frames(0, 4), videoStart, 1);
    stream.mpegAudio(0xc0, mp2Frame('m') + mp2Frame('n'), videoStart);
    stream.privateAudio(0x20, "subtitle", videoStart, 0);
    addGroup(stream, true, 1);
    stream.privateAudio(0x80, ac3Frames(4, 4), videoStart + 4 * ac3FrameTicks, 1);
    writeBytes(folder.file("source.vob"), stream.bytes());

    const std::string listing =
        mpeg::formatStreamListing(mpeg::surveyWithLanguages(folder.file("source.vob")));
    EXPECT_EQ(listing,
              "0xe0\tvideo\tmpeg2video\t-\t-\t1.000\t1.120\t-\t-\n"
              "0x80\taudio\tac3\t2\t48000\t1.000\t1.128\t-\t-\n"
              "0xc0\taudio\tmp2\t1\t48000\t1.000\t1.000\t-\t-\n"
              "0x20\tsubpicture\tsubpicture\t-\t-\t1.000\t1.000\t-\t-\n");
    // The editor reads the listing back: what it prints is what it parses.
    const auto parsed = mpeg::parseStreamListing(listing);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(mpeg::formatStreamListing(*parsed), listing);
    EXPECT_FALSE(mpeg::parseStreamListing("usage: demux SOURCE STREAM OUTPUT\n"));
    EXPECT_FALSE(mpeg::parseStreamListing(""));
}

TEST_F(ExtractionTest, AudioKeepsItsPlaceOnOneTimelineThroughRestartsJumpsWrapsGapsAndOverlaps) {
    // A piece: groups of four pictures (0.16 s) from `start` on its own clock, and its AC-3
    // packets as {first frame, frames} counted from the same start, each packet in the file
    // after the group whose time it begins in.
    struct Piece {
        std::int64_t start;
        int groups;
        std::vector<std::pair<int, int>> audio;
    };
    struct Correction {
        std::int64_t silence;
        std::int64_t leftOut;
    };
    struct Case {
        const char* name;
        std::vector<Piece> pieces;
        std::vector<Correction> corrections;
        std::int64_t units;
    };
    constexpr std::int64_t hour = 3600 * 90000;
    constexpr std::int64_t wrapsSoon = (std::int64_t{1} << 33) - 8 * frameTicks;
    const std::vector<std::pair<int, int>> even = {{0, 5}, {5, 5}, {10, 5}, {15, 5}};
    const Case cases[] = {
        {"restart, audio longer than its video",
         {{videoStart, 4, {{0, 5}, {5, 5}, {10, 5}, {15, 7}}}, {videoStart, 4, even}},
         {{0, 2}},
         40},
        {"restart, audio shorter than its video",
         {{videoStart, 4, {{0, 5}, {5, 5}, {10, 5}, {15, 3}}}, {videoStart, 4, even}},
         {{2, 0}},
         40},
        {"a jump forward of an hour",
         {{videoStart, 4, even}, {videoStart + hour, 4, even}},
         {},
         40},
        {"the 33-bit clock wrapping",
         {{wrapsSoon, 8, {{0, 10}, {10, 10}, {20, 10}, {30, 10}}}},
         {},
         40},
        {"a gap of three frames",
         {{videoStart, 8, {{0, 10}, {13, 7}, {20, 10}, {30, 10}}}},
         {{3, 0}},
         40},
        {"one time stamp a frame off, the next back in step",
         {{videoStart, 8, {{0, 10}, {11, 10}, {20, 10}, {30, 10}}}},
         {},
         40},
        {"an overlap of two frames",
         {{videoStart, 8, {{0, 10}, {8, 12}, {20, 10}, {30, 10}}}},
         {{0, 2}},
         40},
    };
    const std::uint64_t clock = std::uint64_t{1} << 33;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        stream = SyntheticStream();
        for (const Piece& piece : test.pieces) {
            const auto at = [&](std::int64_t ticks) {
                return static_cast<std::int64_t>(static_cast<std::uint64_t>(piece.start + ticks) %
                                                 clock);
            };
            std::size_t packet = 0;
            const auto audioBefore = [&](std::int64_t end) {
                for (;
                     packet < piece.audio.size() && piece.audio[packet].first * ac3FrameTicks < end;
                     ++packet) {
                    const auto [first, count] = piece.audio[packet];
                    stream.privateAudio(0x80, ac3Frames(first, count), at(first * ac3FrameTicks),
                                        1);
                }
            };
            for (int group = 0; group < piece.groups; ++group) {
                const std::int64_t groupStart = group * 4 * frameTicks;
                stream.video((group == 0 ? sequenceHeader() : std::string()) + groupHeader(true) +
                                 picture(2, 1),
                             at(groupStart + 2 * frameTicks));
                stream.video(picture(3, 2));
                stream.video(picture(0, 3) + picture(1, 3));
                audioBefore(groupStart + 4 * frameTicks);
            }
            audioBefore(INT64_MAX);
        }
        stream.video(groupHeader(true) + picture(0, 1));
        const demux::ExtractionReport report = extract(0x80);

        EXPECT_EQ(report.bytesWritten, static_cast<std::uint64_t>(test.units) * 128);
        ASSERT_EQ(report.corrections.size(), test.corrections.size());
        for (std::size_t index = 0; index < test.corrections.size(); ++index) {
            EXPECT_EQ(report.corrections[index].silence, test.corrections[index].silence);
            EXPECT_EQ(report.corrections[index].leftOut, test.corrections[index].leftOut);
        }
        // The first piece's audio is written to its end; the second begins in its own place,
        // after the silence that fills up to it or less what overlaps.
        if (test.pieces.size() > 1) {
            const std::int64_t leftOut = test.corrections.empty() ? 0 : test.corrections[0].leftOut;
            const auto second = static_cast<std::size_t>(4 * 5 + leftOut);
            EXPECT_EQ(readBytes(output()).substr(second * 128, 128),
                      ac3Frames(static_cast<int>(leftOut), 1));
        }
    }
}

namespace {

// A subpicture unit of `size` bytes: its size, then `mark`.
std::string subpictureUnit(std::size_t size, char mark) {
    std::string unit(size, mark);
    unit[0] = static_cast<char>(size >> 8);
    unit[1] = static_cast<char>(size & 0xff);
    return unit;
}

// The units of a stream in mplex's subtitle form: each one's time in output ticks (the form
// writes them 1 s later), its sub-stream and its bytes.
struct WrittenUnit {
    double ticks;
    int subStream;
    std::string bytes;
    bool operator==(const WrittenUnit& other) const {
        return ticks == other.ticks && subStream == other.subStream && bytes == other.bytes;
    }
};

std::vector<WrittenUnit> unitsOf(const std::string& file) {
    std::vector<WrittenUnit> units;
    for (std::size_t at = 0; at + 41 <= file.size();) {
        EXPECT_EQ(file.substr(at, 8), "SUBTITLE");
        std::uint32_t length = 0;
        std::memcpy(&length, file.data() + at + 16, 4);
        double seconds = 0;
        std::memcpy(&seconds, file.data() + at + 24, 8);
        units.push_back({std::round((seconds - 1) * 90000),
                         static_cast<unsigned char>(file[at + 40]),
                         file.substr(at + 41, length - 1)});
        at += 40 + length;
    }
    return units;
}

}  // namespace

TEST_F(ExtractionTest, SubtitlesAreWholeUnitsOnTheVideosTimeAndOnePassWritesWhatEachRunWould) {
    // The tail of a unit cut at the source's start, a unit shown before the video, a unit in two
    // packets, one cut short by the next, one whole; and a second stream.
    stream.subpicture(0x20, std::string(30, 't'), std::nullopt);
    stream.subpicture(0x20, subpictureUnit(60, 'b'), videoStart - 9000);
    const std::string frames = ac3Frames(0, 40);
    stream.privateAudio(0x80, frames.substr(0, 2560), videoStart, 1);
    addGroup(stream, true);
    stream.privateAudio(0x80, frames.substr(2560), std::nullopt, 0);
    const std::string split = subpictureUnit(90, 'a');
    stream.subpicture(0x20, split.substr(0, 50), videoStart + 18000);
    stream.subpicture(0x21, subpictureUnit(20, 'f'), videoStart + 27000);
    stream.subpicture(0x20, split.substr(50), std::nullopt);
    stream.subpicture(0x20, subpictureUnit(200, 'c').substr(0, 40), videoStart + 36000);
    stream.subpicture(0x20, subpictureUnit(70, 'd'), videoStart + 54000);
    writeBytes(folder.file("source.vob"), stream.bytes());

    const std::vector<demux::ExtractionReport> reports =
        demux::extractStreams(folder.file("source.vob"), {{0xe0, folder.file("v")},
                                                          {0x80, folder.file("a")},
                                                          {0x20, folder.file("s1")},
                                                          {0x21, folder.file("s2")}});
    const std::string opening = std::string("\x00\x0a\x00\x04\x00\x00\x00\x04\x02\xff", 10);
    EXPECT_EQ(
        unitsOf(readBytes(folder.file("s1"))),
        (std::vector<WrittenUnit>{
            {0, 0x20, opening}, {18000, 0x20, split}, {54000, 0x20, subpictureUnit(70, 'd')}}));
    EXPECT_EQ(
        unitsOf(readBytes(folder.file("s2"))),
        (std::vector<WrittenUnit>{{0, 0x21, opening}, {27000, 0x21, subpictureUnit(20, 'f')}}));
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[2].subtitleUnits, 2);
    EXPECT_EQ(reports[2].subtitleUnitsLeftOut, 2);  // the one before the video, the one cut short
    EXPECT_EQ(reports[2].firstSubtitleTime, 18000);

    // The single runs write the same bytes.
    for (const auto& [id, name] :
         {std::pair{0xe0, "v"}, std::pair{0x80, "a"}, std::pair{0x21, "s2"}}) {
        extract(id);
        EXPECT_TRUE(readBytes(output()) == readBytes(folder.file(name))) << name;
    }
    // One output for two streams, or one stream twice, is refused before anything is written.
    EXPECT_THROW(demux::extractStreams(folder.file("source.vob"),
                                       {{0x20, folder.file("x")}, {0x21, folder.file("x")}}),
                 demux::DemuxError);
    EXPECT_THROW(demux::extractStreams(folder.file("source.vob"),
                                       {{0x20, folder.file("x")}, {0x20, folder.file("y")}}),
                 demux::DemuxError);
    EXPECT_FALSE(std::filesystem::exists(folder.file("x")));
}
