#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace mpeg {

// The audio formats of DVD-Video, as their stream identifiers tell them apart.
enum class AudioFormat { Ac3, Dts, Lpcm, MpegAudio };

// The audio format of a stream identifier (a private-stream-1 sub-stream or an MPEG audio
// stream), or nullopt for any other stream.
std::optional<AudioFormat> audioFormatOfStream(int streamId);

// What the header of one audio frame says.
struct AudioFrameHeader {
    std::size_t length = 0;     // bytes of the whole frame
    std::int64_t duration = 0;  // 90 kHz ticks
    int sampleRate = 0;
    int channels = 0;
    std::string codec;  // "ac3", "dts", "mp1", "mp2", "mp3"
};

// The bytes a frame header needs to be read.
constexpr std::size_t audioHeaderBytes = 16;

// Reads the frame header at p (AC-3, DTS or MPEG audio; at least audioHeaderBytes readable);
// nullopt when the bytes are not a valid header of that format.
std::optional<AudioFrameHeader> readAudioFrameHeader(AudioFormat format, const std::uint8_t* p);

// LPCM of DVD-Video carries no frame headers: its sub-stream header gives the layout.
struct LpcmLayout {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    // The bytes of one sample of every channel: the unit a cut must respect.
    std::size_t groupBytes = 0;
};
LpcmLayout readLpcmLayout(const std::uint8_t header[3]);

}  // namespace mpeg
