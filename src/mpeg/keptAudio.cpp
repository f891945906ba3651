#include "mpeg/keptAudio.h"

#include <algorithm>

#include "mpeg/audioFrames.h"

namespace mpeg {

namespace {

int formatRank(AudioFormat format) {
    switch (format) {
        case AudioFormat::Ac3:
            return 0;
        case AudioFormat::MpegAudio:
            return 1;
        case AudioFormat::Lpcm:
            return 2;
        case AudioFormat::Dts:
            break;
    }
    return 3;
}

}  // namespace

bool multiplexerTakes(const StreamInfo& stream) {
    const auto format = audioFormatOfStream(stream.id);
    if (stream.kind != StreamKind::Audio || !format) {
        return false;
    }
    switch (*format) {
        case AudioFormat::Ac3:
        case AudioFormat::MpegAudio:
            return true;
        case AudioFormat::Lpcm:
            return stream.sampleRate == 48000 && stream.channels == 2 && stream.bitsPerSample == 16;
        case AudioFormat::Dts:
            break;
    }
    return false;
}

std::vector<StreamInfo> keptAudioStreams(const std::vector<StreamInfo>& streams) {
    std::vector<StreamInfo> kept;
    std::copy_if(streams.begin(), streams.end(), std::back_inserter(kept), multiplexerTakes);
    std::stable_sort(kept.begin(), kept.end(), [](const StreamInfo& a, const StreamInfo& b) {
        const int numberA = a.id & 7;
        const int numberB = b.id & 7;
        if (numberA != numberB) {
            return numberA < numberB;
        }
        return formatRank(*audioFormatOfStream(a.id)) < formatRank(*audioFormatOfStream(b.id));
    });
    return kept;
}

}  // namespace mpeg
