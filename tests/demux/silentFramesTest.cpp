// Frames of silence made from real encoders' frames decode, checksums checked, to exact zeros in
// the same format (Linux: ffmpeg encodes and decodes).
#include <gtest/gtest.h>

#include <cstdlib>

#include "files/textFile.h"
#include "mpeg/audioFrames.h"
#include "mpeg/silentFrames.h"
#include "support/batchProcess.h"
#include "support/tempFolder.h"

namespace {

struct Encoding {
    const char* layout;
    const char* codec;
    const char* bitRate;
    int channels;
};

std::string decodedSilence(const TempFolder& folder, const Encoding& encoding) {
    const std::string encoded = folder.file("encoded");
    const std::string command =
        std::string("ffmpeg -nostdin -v error -y -f lavfi -i sine=sample_rate=48000 -t 0.1 ") +
        "-channel_layout " + shellQuoted(encoding.layout) + " -ac " +
        std::to_string(encoding.channels) + " -c:a " + encoding.codec + " -b:a " +
        encoding.bitRate + " -f " + (std::string(encoding.codec) == "ac3" ? "ac3" : "mp2") + " " +
        shellQuoted(encoded);
    if (std::system(command.c_str()) != 0) {
        return "ffmpeg could not encode";
    }
    const std::string frame = readBytes(encoded);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.data());
    const bool ac3 = std::string(encoding.codec) == "ac3";
    const auto header = mpeg::readAudioFrameHeader(
        ac3 ? mpeg::AudioFormat::Ac3 : mpeg::AudioFormat::MpegAudio, bytes);
    if (!header || header->channels != encoding.channels) {
        return "header misread";
    }
    const auto silent =
        ac3 ? mpeg::silentAc3Frame(bytes, header->length) : mpeg::silentMpegAudioFrame(bytes);
    if (!silent) {
        return "no silent frame";
    }
    std::string frames;
    for (int i = 0; i < 10; ++i) {
        frames.append(silent->begin(), silent->end());
    }
    writeBytes(folder.file("silent"), frames);
    const std::string decode = "ffmpeg -nostdin -v error -y -err_detect crccheck+explode -i " +
                               shellQuoted(folder.file("silent")) + " -f s16le " +
                               shellQuoted(folder.file("decoded"));
    if (std::system(decode.c_str()) != 0) {
        return "ffmpeg could not decode";
    }
    return readBytes(folder.file("decoded"));
}

}  // namespace

TEST(SilentFramesTest, DecodeToExactZerosInTheirOwnFormat) {
    const Encoding encodings[] = {
        {"mono", "ac3", "64k", 1},    {"stereo", "ac3", "192k", 2}, {"2.1", "ac3", "96k", 3},
        {"quad", "ac3", "256k", 4},   {"5.1", "ac3", "448k", 6},    {"5.0", "ac3", "384k", 5},
        {"stereo", "mp2", "224k", 2}, {"mono", "mp2", "64k", 1},
    };
    TempFolder folder;
    for (const Encoding& encoding : encodings) {
        SCOPED_TRACE(std::string(encoding.codec) + " " + encoding.layout);
        const std::string decoded = decodedSilence(folder, encoding);
        const std::size_t samples = std::string(encoding.codec) == "ac3" ? 1536 : 1152;
        ASSERT_EQ(decoded.size(), 10 * samples * 2 * encoding.channels) << decoded.substr(0, 40);
        EXPECT_EQ(decoded.find_first_not_of('\0'), std::string::npos);
    }
}
