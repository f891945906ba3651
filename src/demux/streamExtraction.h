#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "mpeg/titleTimeline.h"

namespace demux {

// A failure that leaves no output: the message says what went wrong, for the user.
class DemuxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What an extraction did to keep the output in step with the video.
struct ExtractionReport {
    std::uint64_t bytesWritten = 0;
    // Audio only: frames (LPCM: samples) of silence put before the first real one, and real
    // ones left out before the video's start; past the video's end and a second; and the places
    // after the start where the track was kept in step with the video.
    std::int64_t silenceAdded = 0;
    std::int64_t unitsLeftOut = 0;
    std::int64_t unitsPastVideo = 0;
    std::vector<mpeg::AudioCorrection> corrections;
    // Bytes passed over because they were no whole unit: the tail of a unit cut at the start,
    // or data between frames where the stream lost its frame sync.
    std::uint64_t bytesPassedOver = 0;
    // When the video's first picture and the output's first unit are shown, in 90 kHz ticks.
    std::optional<std::int64_t> videoStart;
    std::optional<std::int64_t> outputStart;
    // Subtitles only: the units written, those left out (before the video's first picture, past
    // its end, or cut by the source's start or end), and the first one's output time in ticks.
    int subtitleUnits = 0;
    int subtitleUnitsLeftOut = 0;
    std::optional<double> firstSubtitleTime;
};

// One stream to write and where: 0xe0 (the first video stream), an audio stream (0x80-0x8f,
// 0xa0-0xa7, 0xc0-0xc7) or a subtitle stream (0x20-0x3f).
struct StreamOutput {
    int streamId = 0;
    std::string path;
};

// Writes one elementary stream of the program stream at `source` to `output`: the video from its
// first sequence header, or an audio stream placed on the video's timeline, from the video's
// first presentation time on, so that a multiplexer that lines up the first bytes and counts
// units keeps the source's timing in every piece of the title. Throws DemuxError (the output then
// removed) when the source cannot be read, holds no such stream, or the output cannot be written.
ExtractionReport extractStream(const std::string& source, int streamId, const std::string& output);

// Writes every stream asked for in one reading of the source, all on the one timeline: the video
// as above, audio placed as above, and each subtitle unit at its picture's output time, in the
// form mplex takes subtitles (see mpeg::SubtitleTrack). One report per output, in their order.
// Throws DemuxError, and then keeps none of the outputs, when any one of them fails; a subtitle
// stream without a unit within the video's time is no failure.
std::vector<ExtractionReport> extractStreams(const std::string& source,
                                             const std::vector<StreamOutput>& outputs);

}  // namespace demux
