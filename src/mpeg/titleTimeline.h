#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "mpeg/programStream.h"
#include "mpeg/subtitleUnits.h"
#include "mpeg/timeline.h"

namespace mpeg {

// Where the units of an audio track go: a file, or nothing when only their number is wanted.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const std::uint8_t* data, std::size_t size) = 0;
};

// An audio track that cannot be kept in step with the video: its time stamps make no sense
// against it, or it needs silence that its format cannot be given.
class TimelineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One place after the start where a track was kept in step: silence put in, or units left out.
struct AudioCorrection {
    double outputTime = 0;  // ticks from the video's first picture
    std::int64_t silence = 0;
    std::int64_t leftOut = 0;
    double unitTicks = 0;
    std::string cause;  // "time stamps start again", "a gap in the audio", ...
    double ticks() const { return static_cast<double>(silence + leftOut) * unitTicks; }
};

// What an audio track became on the title's timeline.
struct TrackOnTimeline {
    int streamId = 0;
    bool found = false;
    std::uint64_t bytesWritten = 0;
    double unitTicks = 0;  // how long one unit (a frame, an LPCM sample group) is
    // At the start: units of silence put before the first real one, real ones left out before
    // the video's first picture; the source time of the output's first unit, less the video's
    // start, in ticks.
    std::int64_t silenceAtStart = 0;
    std::int64_t leftOutAtStart = 0;
    std::optional<double> startOffset;
    // Units left out at the end, past the video's end and one second.
    std::int64_t unitsPastVideo = 0;
    std::uint64_t bytesPassedOver = 0;
    std::vector<AudioCorrection> corrections;
    // A track that is only counted does not stop the reading: why it cannot be placed, if so.
    std::string error;
};

struct TitleOnTimeline {
    std::optional<std::int64_t> videoStart;  // the time stamp of the video's first picture
    double videoTicks = 0;                   // the video's length on the timeline
    std::vector<TrackOnTimeline> tracks;     // in the order asked for
    // With countOtherAudio: every other audio stream, counted, in the order it first appears.
    std::vector<TrackOnTimeline> otherAudio;
    std::vector<SubtitlesOnTimeline> subtitles;  // in the order asked for
};

// An audio track to read: its stream id (0x80, 0xa0, 0xc0, ...) and where its units go
// (nullptr: they are only counted).
struct TrackRequest {
    int streamId = 0;
    ByteSink* sink = nullptr;
};

// Reads the program stream at `path` once, from start to end: the first video stream's timeline,
// and each requested audio track placed on it. Audio after the video's end and one second is
// left out, and padding never runs past it. Throws std::runtime_error when the file cannot be
// read, and TimelineError when a track with a sink that the source holds has no unit within the
// video's time, or needs silence its format cannot be given; a track without one gets the
// error's text instead. countOtherAudio: every audio stream not asked for is counted too.
TitleOnTimeline readTitleTimeline(const std::string& path, const std::vector<TrackRequest>& tracks,
                                  bool countOtherAudio = false);

// Everything one pass over a source can serve: audio tracks as above, subtitle streams (0x20 to
// 0x3f) placed on the same timeline, and the first video stream's packets handed over as they
// are read, for a writer of the video in the same pass.
struct TitleRead {
    std::vector<TrackRequest> tracks;
    std::vector<TrackRequest> subtitles;
    bool countOtherAudio = false;
    std::function<void(const PesPacket&)> onVideoPacket;
};
TitleOnTimeline readTitleTimeline(const std::string& path, const TitleRead& read);

// "0:10:00.0: time stamps start again; 0x80: 9 frames of silence put in (288 ms)".
std::string correctionText(const AudioCorrection& correction, int streamId);

}  // namespace mpeg
