#include "mpeg/audioFrames.h"

#include "mpeg/programStream.h"

namespace mpeg {

namespace {

// AC-3 frame sizes in 16-bit words at 48 kHz, by frame size code / 2; at 44.1 kHz the sizes
// differ and odd codes add a word; at 32 kHz they are 1.5 times those of 48 kHz.
constexpr int ac3WordsAt48k[19] = {64,  80,  96,  112, 128, 160, 192,  224,  256, 320,
                                   384, 448, 512, 640, 768, 896, 1024, 1152, 1280};
constexpr int ac3WordsAt44k[19] = {69,  87,  104, 121, 139, 174, 208,  243,  278, 348,
                                   417, 487, 557, 696, 835, 975, 1114, 1253, 1393};
constexpr int ac3FullChannels[8] = {2, 1, 2, 3, 3, 4, 4, 5};

std::int64_t ticksOf(std::int64_t samples, int sampleRate) {
    return samples * ticksPerSecond / sampleRate;
}

std::optional<AudioFrameHeader> readAc3(const std::uint8_t* p) {
    if (p[0] != 0x0b || p[1] != 0x77) {
        return std::nullopt;
    }
    const int sampleRateCode = p[4] >> 6;
    const int sizeCode = p[4] & 0x3f;
    const int streamVersion = p[5] >> 3;
    if (sampleRateCode == 3 || sizeCode > 37 || streamVersion > 10) {
        return std::nullopt;
    }
    static constexpr int rates[3] = {48000, 44100, 32000};
    int words = 0;
    if (sampleRateCode == 0) {
        words = ac3WordsAt48k[sizeCode / 2];
    } else if (sampleRateCode == 1) {
        words = ac3WordsAt44k[sizeCode / 2] + (sizeCode & 1);
    } else {
        words = ac3WordsAt48k[sizeCode / 2] * 3 / 2;
    }
    // The channel mode, then optional mix levels, then the low-frequency channel's bit.
    const int mode = p[6] >> 5;
    int bit = 3;
    if ((mode & 1) && mode != 1) {
        bit += 2;
    }
    if (mode & 4) {
        bit += 2;
    }
    if (mode == 2) {
        bit += 2;
    }
    const bool lowFrequency = (p[6] >> (7 - bit)) & 1;
    AudioFrameHeader header;
    header.length = static_cast<std::size_t>(words) * 2;
    header.sampleRate = rates[sampleRateCode];
    header.duration = ticksOf(1536, header.sampleRate);
    header.channels = ac3FullChannels[mode] + (lowFrequency ? 1 : 0);
    header.codec = "ac3";
    return header;
}

std::optional<AudioFrameHeader> readDts(const std::uint8_t* p) {
    if (p[0] != 0x7f || p[1] != 0xfe || p[2] != 0x80 || p[3] != 0x01) {
        return std::nullopt;
    }
    // Bits from the sync word's end: frame type 1, deficit 5, CRC flag 1, blocks 7, size 14,
    // channel arrangement 6, sample rate 4, bit rate 5, eleven bits of flags, then the LFE's two.
    const auto bits = [p](int from, int count) {
        int value = 0;
        for (int i = 0; i < count; ++i) {
            const int at = 32 + from + i;
            value = (value << 1) | ((p[at / 8] >> (7 - at % 8)) & 1);
        }
        return value;
    };
    const int blocks = bits(7, 7) + 1;
    const int size = bits(14, 14) + 1;
    const int arrangement = bits(28, 6);
    const int rateCode = bits(34, 4);
    const int lowFrequency = bits(53, 2);
    static constexpr int rates[16] = {0,     8000, 16000, 32000, 0,     0,     11025, 22050,
                                      44100, 0,    0,     12000, 24000, 48000, 0,     0};
    static constexpr int channels[16] = {1, 2, 2, 2, 2, 3, 3, 4, 4, 5, 6, 6, 6, 7, 8, 8};
    if (size < 96 || blocks < 6 || rates[rateCode] == 0) {
        return std::nullopt;
    }
    AudioFrameHeader header;
    header.length = static_cast<std::size_t>(size);
    header.sampleRate = rates[rateCode];
    header.duration = ticksOf(blocks * 32, header.sampleRate);
    header.channels = (arrangement < 16 ? channels[arrangement] : 0) + (lowFrequency ? 1 : 0);
    header.codec = "dts";
    return header;
}

std::optional<AudioFrameHeader> readMpegAudio(const std::uint8_t* p) {
    if (p[0] != 0xff || (p[1] & 0xe0) != 0xe0) {
        return std::nullopt;
    }
    const int version = (p[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = 4 - ((p[1] >> 1) & 3);
    const int bitRateCode = p[2] >> 4;
    const int rateCode = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    if (version == 1 || layer == 4 || bitRateCode == 0 || bitRateCode == 15 || rateCode == 3) {
        return std::nullopt;
    }
    static constexpr int bitRates[2][3][15] = {
        {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
         {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
         {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
        {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
    static constexpr int rates[3] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const int sampleRate = rates[rateCode] >> (mpeg1 ? 0 : (version == 2 ? 1 : 2));
    const int bitRate = bitRates[mpeg1 ? 0 : 1][layer - 1][bitRateCode] * 1000;
    int samples = 1152;
    std::size_t length = 0;
    if (layer == 1) {
        samples = 384;
        length = static_cast<std::size_t>((12 * bitRate / sampleRate + padding) * 4);
    } else {
        if (layer == 3 && !mpeg1) {
            samples = 576;
        }
        length = static_cast<std::size_t>(samples / 8 * bitRate / sampleRate + padding);
    }
    AudioFrameHeader header;
    header.length = length;
    header.sampleRate = sampleRate;
    header.duration = ticksOf(samples, sampleRate);
    header.channels = (p[3] >> 6) == 3 ? 1 : 2;
    header.codec = layer == 1 ? "mp1" : layer == 2 ? "mp2" : "mp3";
    return header;
}

}  // namespace

std::optional<AudioFormat> audioFormatOfStream(int streamId) {
    if (streamId >= 0x80 && streamId <= 0x87) {
        return AudioFormat::Ac3;
    }
    if (streamId >= 0x88 && streamId <= 0x8f) {
        return AudioFormat::Dts;
    }
    if (streamId >= 0xa0 && streamId <= 0xa7) {
        return AudioFormat::Lpcm;
    }
    if (streamId >= 0xc0 && streamId <= 0xc7) {
        return AudioFormat::MpegAudio;
    }
    return std::nullopt;
}

std::optional<AudioFrameHeader> readAudioFrameHeader(AudioFormat format, const std::uint8_t* p) {
    switch (format) {
        case AudioFormat::Ac3:
            return readAc3(p);
        case AudioFormat::Dts:
            return readDts(p);
        case AudioFormat::MpegAudio:
            return readMpegAudio(p);
        case AudioFormat::Lpcm:
            break;
    }
    return std::nullopt;
}

LpcmLayout readLpcmLayout(const std::uint8_t header[3]) {
    static constexpr int bits[4] = {16, 20, 24, 0};
    static constexpr int rates[4] = {48000, 96000, 44100, 32000};
    LpcmLayout layout;
    layout.bitsPerSample = bits[header[1] >> 6];
    layout.sampleRate = rates[(header[1] >> 4) & 3];
    layout.channels = (header[1] & 7) + 1;
    // 20 and 24-bit samples come in pairs of samples per channel: 5 or 6 bytes for two.
    layout.groupBytes =
        layout.bitsPerSample == 16
            ? static_cast<std::size_t>(2 * layout.channels)
            : static_cast<std::size_t>(layout.bitsPerSample * 2 / 8 * layout.channels);
    return layout;
}

}  // namespace mpeg
