#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "mpeg/ifoReader.h"
#include "mpeg/ifoSubtitles.h"
#include "support/ifoImage.h"
#include "support/subtitleDisplaysText.h"
#include "support/tempFolder.h"

using namespace std::string_literals;

namespace {

mpeg::TitleSetInfo parse(const std::string& bytes) {
    return mpeg::parseTitleSetIfo(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  bytes.size());
}

std::string parseError(const std::string& bytes) {
    try {
        parse(bytes);
    } catch (const mpeg::IfoError& error) {
        return error.what();
    }
    return "read";
}

}  // namespace

TEST(IfoReaderTest, TitleSetFacts) {
    IfoImage image;
    image.chapters = 7;
    image.playbackSeconds = 3 * 3600 + 25 * 60 + 9;
    image.frames = 15;
    image.pal = false;
    image.audioModes = {0, 2, 3, 4, 6, 5};
    image.language = "fr";
    const mpeg::TitleSetInfo info = parse(titleSetIfoBytes(image));
    EXPECT_EQ(info.titleCount, 1);
    EXPECT_EQ(info.chapterCount, 7);
    EXPECT_DOUBLE_EQ(info.playbackSeconds, 3 * 3600 + 25 * 60 + 9 + 15 * 1001 / 30000.0);
    EXPECT_EQ(info.standard, "NTSC");
    std::vector<std::string> formats;
    for (const mpeg::IfoAudioStream& stream : info.audioStreams) {
        formats.push_back(mpeg::audioFormatName(stream.format));
        EXPECT_EQ(stream.language, "fr");
        EXPECT_EQ(stream.channels, 2);
    }
    EXPECT_EQ(formats,
              (std::vector<std::string>{"AC-3", "MPEG-1", "MPEG-2", "LPCM", "DTS", "other audio"}));

    image = IfoImage();
    image.audioModes = {};
    image.playbackSeconds = 59;
    image.frames = 24;
    const mpeg::TitleSetInfo pal = parse(titleSetIfoBytes(image));
    EXPECT_EQ(pal.standard, "PAL");
    EXPECT_DOUBLE_EQ(pal.playbackSeconds, 59.96);
    EXPECT_TRUE(pal.audioStreams.empty());
}

TEST(IfoReaderTest, DamagedOrHostileFilesGiveAReasonNeverACrash) {
    const std::string good = titleSetIfoBytes(IfoImage());
    struct Damage {
        const char* what;
        std::function<void(std::string&)> apply;
        const char* reason;
    };
    const auto set = [](std::size_t at, std::string bytes) {
        return [at, bytes](std::string& file) { file.replace(at, bytes.size(), bytes); };
    };
    const char* const cut = "the file is cut short or damaged";
    const std::vector<Damage> damages{
        {"no signature", set(0, "DVDVIDEO-VMG"), "the file is not a title set's IFO file"},
        {"empty", [](std::string& file) { file.clear(); },
         "the file is not a title set's IFO file"},
        {"header only", [](std::string& file) { file.resize(0x100); }, cut},
        {"tables cut off", [](std::string& file) { file.resize(0x900); }, cut},
        {"chapter table far away", set(0xC8, "\xff\xff\xff\xff"s), cut},
        {"program chains far away", set(0xCC, "\x00\x10\x00\x00"s), cut},
        {"chapter table runs past the end", set(0x804, "\x7f\xff\xff\xff"s), cut},
        {"no title", set(0x800, std::string(2, '\0')), "the title set holds no title"},
        {"title outside its table", set(0x808, "\x00\x00\x00\x04"s), cut},
        {"chapter of a missing chain", set(0x80C, "\x00\x02"s), cut},
        {"chain outside its table", set(0x100C, "\x00\x00\x7f\x00"s), cut},
        {"nine audio streams", set(0x202, "\x00\x09"s), cut},
        {"minutes that are no number", set(0x1015, "\x6a"s), "the playback time is no valid time"},
        {"61 seconds", set(0x1016, "\x61"s), "the playback time is no valid time"},
    };
    for (const Damage& damage : damages) {
        std::string file = good;
        damage.apply(file);
        EXPECT_EQ(parseError(file), damage.reason) << damage.what;
    }
}

TEST(IfoReaderTest, FolderWithAndWithoutItsTableOfContents) {
    TempFolder folder;
    const auto read = [&folder]() -> std::string {
        try {
            return std::to_string(mpeg::readTitleSet(folder.path()).titleCount);
        } catch (const mpeg::IfoError& error) {
            return error.what();
        }
    };
    EXPECT_EQ(read(), "VTS_01_0.IFO: the file cannot be opened");
    writeBytes(folder.file("VTS_01_0.IFO"), titleSetIfoBytes(IfoImage()));
    EXPECT_EQ(read(), "1");
    writeBytes(folder.file("VIDEO_TS.IFO"), videoManagerIfoBytes(3));
    EXPECT_EQ(read(), "3");
    writeBytes(folder.file("VIDEO_TS.IFO"), videoManagerIfoBytes(3).substr(0, 2049));
    EXPECT_EQ(read(), "VIDEO_TS.IFO: the file is cut short or damaged");
    writeBytes(folder.file("VIDEO_TS.IFO"), titleSetIfoBytes(IfoImage()));
    EXPECT_EQ(read(), "VIDEO_TS.IFO: the file is not a DVD's table of contents");
}

TEST(IfoReaderTest, SubtitleFactsOfTheChainThatHoldsTheVob) {
    const auto read = [](const IfoImage& image, std::optional<int> vobId) {
        const std::string bytes = titleSetIfoBytes(image);
        return mpeg::parseTitleSubtitles(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                         bytes.size(), vobId);
    };
    IfoImage image;
    image.subtitles = {{"en", false, {0, 0, 0, 0}, true},
                       {"de", true, {1, 1, 1, 1}, true},
                       {"fr", false, {2, 2, 2, 2}, false},
                       {"", false, {3, 3, 3, 3}, true}};
    for (std::size_t i = 0; i < 16; ++i) {
        image.palette[i] = 0x108080 + 0x10000 * static_cast<std::uint32_t>(i);
    }
    image.chainVobIds = {1, 2, 3};
    struct Case {
        const char* what;
        bool wideScreen;
        int displayFormat;
        std::optional<int> vobId;
        int chain;
        std::vector<std::string> streams;
    };
    const std::vector<Case> cases{
        {"4:3, no VOB id",
         false,
         0,
         std::nullopt,
         1,
         {"en 0/-1/-1/-1", "de forced 1/-1/-1/-1", " 3/-1/-1/-1"}},
        {"16:9 with both 4:3 forms",
         true,
         0,
         1,
         1,
         {"en -1/0/0/0", "de forced -1/1/1/1", " -1/3/3/3"}},
        {"16:9 letterboxed only",
         true,
         2,
         2,
         2,
         {"en -1/0/0/-1", "de forced -1/1/1/-1", " -1/3/3/-1"}},
        {"16:9 pan-scan only",
         true,
         1,
         3,
         3,
         {"en -1/0/-1/0", "de forced -1/1/-1/1", " -1/3/-1/3"}},
        {"a VOB id no chain holds",
         false,
         0,
         9,
         1,
         {"en 0/-1/-1/-1", "de forced 1/-1/-1/-1", " 3/-1/-1/-1"}},
    };
    for (const Case& test : cases) {
        image.wideScreen = test.wideScreen;
        image.displayFormat = test.displayFormat;
        const mpeg::TitleSubtitles title = read(image, test.vobId);
        EXPECT_EQ(title.programChain, test.chain) << test.what;
        EXPECT_EQ(title.wideScreen, test.wideScreen) << test.what;
        EXPECT_EQ(subtitleDisplaysText(title.streams), test.streams) << test.what;
        EXPECT_EQ(title.palette[15], 0x1f8080u + static_cast<std::uint32_t>(test.chain - 1))
            << test.what;
    }

    image.subtitles.resize(33);
    EXPECT_THROW(read(image, std::nullopt), mpeg::IfoError);
    const std::string videoManager = videoManagerIfoBytes(1);
    EXPECT_THROW(
        mpeg::parseTitleSubtitles(reinterpret_cast<const std::uint8_t*>(videoManager.data()),
                                  videoManager.size(), std::nullopt),
        mpeg::IfoError);
}
