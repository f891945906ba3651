#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "mpeg/ifoReader.h"

// The first byte picks the file: even, a title set's VTS_nn_0.IFO; odd, VIDEO_TS.IFO. Any bytes
// give a reading or an IfoError, and a reading is one a DVD could hold.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    try {
        if (data[0] & 1) {
            if (mpeg::parseVideoManagerTitleCount(data + 1, size - 1) < 0) {
                std::abort();
            }
            return 0;
        }
        const mpeg::TitleSetInfo info = mpeg::parseTitleSetIfo(data + 1, size - 1);
        if (info.titleCount < 1 || info.chapterCount < 1 || info.audioStreams.size() > 8 ||
            !std::isfinite(info.playbackSeconds) || info.playbackSeconds < 0) {
            std::abort();
        }
        for (const mpeg::IfoAudioStream& stream : info.audioStreams) {
            if (stream.channels < 1 || stream.channels > 8 ||
                (!stream.language.empty() && stream.language.size() != 2)) {
                std::abort();
            }
            mpeg::audioFormatName(stream.format);
        }
    } catch (const mpeg::IfoError&) {
    }
    return 0;
}
