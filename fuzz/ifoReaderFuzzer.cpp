#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "mpeg/ifoReader.h"
#include "mpeg/ifoSubtitles.h"

namespace {

void readSubtitleFacts(const std::uint8_t* data, std::size_t size, int vobId) {
    try {
        const mpeg::TitleSubtitles subtitles = mpeg::parseTitleSubtitles(data, size, vobId);
        if (subtitles.streams.size() > 32 || subtitles.programChain < 1) {
            std::abort();
        }
        for (const mpeg::IfoSubtitleStream& stream : subtitles.streams) {
            const mpeg::SubtitleDisplays& shown = stream.displays;
            for (const int number : {shown.normal, shown.wide, shown.letterbox, shown.panScan}) {
                if (number < -1 || number > 31) {
                    std::abort();
                }
            }
        }
    } catch (const mpeg::IfoError&) {
    }
}

}  // namespace

// The first byte picks the file: even, a title set's VTS_nn_0.IFO; odd, VIDEO_TS.IFO. Any bytes
// give a reading or an IfoError, and a reading is one a DVD could hold. A title set's subtitle
// facts are read too, for the VOB id the second byte names.
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
        if (size > 1) {
            readSubtitleFacts(data + 1, size - 1, data[1]);
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
