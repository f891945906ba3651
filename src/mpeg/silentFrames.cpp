#include "mpeg/silentFrames.h"

#include "mpeg/audioFrames.h"

namespace mpeg {

namespace {

class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : data_(data), bits_(size * 8) {}
    unsigned read(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i) {
            if (at_ >= bits_) {
                overrun_ = true;
                return 0;
            }
            value = (value << 1) | ((data_[at_ / 8] >> (7 - at_ % 8)) & 1);
            ++at_;
        }
        return value;
    }
    void skip(int count) { read(count); }
    std::size_t position() const { return at_; }
    bool overrun() const { return overrun_; }

private:
    const std::uint8_t* data_;
    std::size_t bits_;
    std::size_t at_ = 0;
    bool overrun_ = false;
};

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void write(unsigned value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            if ((value >> i) & 1) {
                out_[at_ / 8] |= static_cast<std::uint8_t>(0x80 >> (at_ % 8));
            }
            ++at_;
        }
    }
    std::size_t position() const { return at_; }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t at_ = 0;
};

constexpr int ac3FullChannels[8] = {2, 1, 2, 3, 3, 4, 4, 5};

// Reads the bit stream information up to its end; false when the frame is too short for it.
bool skipAc3StreamInformation(BitReader& bits, int& mode, bool& lowFrequency) {
    bits.skip(16 + 16 + 8 + 8);  // sync word, CRC, rate and size codes, version and service
    mode = static_cast<int>(bits.read(3));
    if ((mode & 1) && mode != 1) {
        bits.skip(2);
    }
    if (mode & 4) {
        bits.skip(2);
    }
    if (mode == 2) {
        bits.skip(2);
    }
    lowFrequency = bits.read(1) != 0;
    // Dialogue level, compression, language, production information: twice for dual mono.
    for (int program = 0; program < (mode == 0 ? 2 : 1); ++program) {
        bits.skip(5);
        if (bits.read(1)) {
            bits.skip(8);
        }
        if (bits.read(1)) {
            bits.skip(8);
        }
        if (bits.read(1)) {
            bits.skip(7);
        }
    }
    bits.skip(2);  // copyright, original
    for (int timeCode = 0; timeCode < 2; ++timeCode) {
        if (bits.read(1)) {
            bits.skip(14);
        }
    }
    if (bits.read(1)) {
        bits.skip((static_cast<int>(bits.read(6)) + 1) * 8);
    }
    return !bits.overrun();
}

// Six audio blocks that carry no signal: the first sends the least exponents and bit allocation
// the syntax allows, with the signal-to-noise offsets at zero so that no mantissa gets a bit;
// the other five reuse all of it. No dither, so the decoded samples are exact zeros.
void writeSilentAc3Blocks(BitWriter& bits, int mode, bool lowFrequency) {
    const int channels = ac3FullChannels[mode];
    // Bandwidth code 0 ends the mantissas at 73, in six groups of the coarsest exponent strategy.
    constexpr int exponentGroups = 6;
    constexpr int lowFrequencyGroups = 2;
    constexpr unsigned unchangedExponents = 62;  // three differences of 0, each coded as 2
    for (int block = 0; block < 6; ++block) {
        const bool first = block == 0;
        bits.write(0, channels);  // no block switching
        bits.write(0, channels);  // no dither
        bits.write(0, 1);         // no dynamic range
        if (mode == 0) {
            bits.write(0, 1);
        }
        bits.write(first, 1);  // coupling strategy
        if (first) {
            bits.write(0, 1);  // coupling not in use
        }
        if (mode == 2) {
            bits.write(first, 1);  // rematrixing strategy
            if (first) {
                bits.write(0, 4);
            }
        }
        for (int channel = 0; channel < channels; ++channel) {
            bits.write(first ? 3 : 0, 2);  // exponent strategy: D45, then reuse
        }
        if (lowFrequency) {
            bits.write(first, 1);
        }
        if (first) {
            for (int channel = 0; channel < channels; ++channel) {
                bits.write(0, 6);  // bandwidth code
            }
            for (int channel = 0; channel < channels; ++channel) {
                bits.write(15, 4);
                for (int group = 0; group < exponentGroups; ++group) {
                    bits.write(unchangedExponents, 7);
                }
                bits.write(0, 2);  // gain range
            }
            if (lowFrequency) {
                bits.write(15, 4);
                for (int group = 0; group < lowFrequencyGroups; ++group) {
                    bits.write(unchangedExponents, 7);
                }
            }
        }
        bits.write(first, 1);  // bit allocation parameters
        if (first) {
            bits.write(2, 2);  // slow decay
            bits.write(1, 2);  // fast decay
            bits.write(1, 2);  // slow gain
            bits.write(2, 2);  // dB per bit
            bits.write(4, 3);  // masking floor
        }
        bits.write(first, 1);  // signal-to-noise offsets
        if (first) {
            bits.write(0, 6);
            for (int channel = 0; channel < channels + (lowFrequency ? 1 : 0); ++channel) {
                bits.write(0, 4);
                bits.write(4, 3);
            }
        }
        bits.write(0, 1);  // no delta bit allocation
        bits.write(0, 1);  // no skipped bytes
    }
}

// Divides a remainder by x modulo the AC-3 polynomial: the inverse of one step of the CRC.
std::uint32_t divideByX(std::uint32_t value) {
    return (value & 1) ? (value ^ 0x18005) >> 1 : value >> 1;
}

void putBigEndian(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value & 0xff);
}

}  // namespace

std::uint16_t ac3Crc(const std::uint8_t* data, std::size_t size, std::uint16_t crc) {
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x8005 : crc << 1);
        }
    }
    return crc;
}

std::optional<std::vector<std::uint8_t>> silentAc3Frame(const std::uint8_t* frame,
                                                        std::size_t length) {
    const auto header = readAudioFrameHeader(AudioFormat::Ac3, frame);
    if (!header || header->length != length) {
        return std::nullopt;
    }
    BitReader reader(frame, length);
    int mode = 0;
    bool lowFrequency = false;
    if (!skipAc3StreamInformation(reader, mode, lowFrequency)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> silent(length, 0);
    BitWriter writer(silent);
    BitReader copy(frame, length);
    for (std::size_t bit = 0; bit < reader.position(); ++bit) {
        writer.write(copy.read(1), 1);
    }
    writeSilentAc3Blocks(writer, mode, lowFrequency);
    // The rest is zero: no auxiliary data, then the reserved bit and the second CRC.
    if (writer.position() + 18 > length * 8) {
        return std::nullopt;
    }
    // The first CRC leads the first five eighths of the frame, which must check to zero with it:
    // it is the remainder of the rest, divided by x once for every bit that follows it.
    const std::size_t words = length / 2;
    const std::size_t fiveEighths = ((words >> 1) + (words >> 3)) * 2;
    std::uint32_t first = ac3Crc(silent.data() + 4, fiveEighths - 4);
    for (std::size_t bit = 0; bit < (fiveEighths - 4) * 8 + 16; ++bit) {
        first = divideByX(first);
    }
    putBigEndian(silent.data() + 2, static_cast<std::uint16_t>(first));
    putBigEndian(silent.data() + length - 2, ac3Crc(silent.data() + 2, length - 4));
    return silent;
}

std::optional<std::vector<std::uint8_t>> silentMpegAudioFrame(const std::uint8_t* header) {
    std::uint8_t plain[audioHeaderBytes] = {};
    for (int i = 0; i < 4; ++i) {
        plain[i] = header[i];
    }
    plain[1] |= 0x01;                              // no CRC: nothing follows the header but zeros
    plain[2] &= static_cast<std::uint8_t>(~0x02);  // no padding byte
    const auto frame = readAudioFrameHeader(AudioFormat::MpegAudio, plain);
    if (!frame || frame->length < 4) {
        return std::nullopt;
    }
    // With every subband's bit allocation zero, the frame carries no samples: silence.
    std::vector<std::uint8_t> silent(frame->length, 0);
    for (int i = 0; i < 4; ++i) {
        silent[static_cast<std::size_t>(i)] = plain[i];
    }
    return silent;
}

}  // namespace mpeg
