#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "mpeg/programStream.h"
#include "mpeg/timeline.h"

namespace mpeg {

class ByteSink;

// Subpicture streams are sub-streams 0x20 to 0x3f of private stream 1.
constexpr int firstSubpictureStream = 0x20;
constexpr int lastSubpictureStream = 0x3f;
inline bool isSubpictureStream(int streamId) {
    return streamId >= firstSubpictureStream && streamId <= lastSubpictureStream;
}

// What a subtitle stream became on the title's timeline.
struct SubtitlesOnTimeline {
    int streamId = 0;
    bool found = false;
    int units = 0;                    // subpicture units written
    std::uint64_t sourceBytes = 0;    // what those units take in the source, headers left out
    std::uint64_t bytesWritten = 0;   // with the multiplexer's headers and the opening unit
    int unitsLeftOut = 0;             // before the video's first picture or past its end
    int brokenUnits = 0;              // cut by the start or end of the source, or broken
    std::optional<double> firstTime;  // output ticks of the first real unit
};

// The subpicture units of one stream, each placed on the video's output time and written in the
// form mplex takes a subtitle stream: a 40-byte header ("SUBTITLE", its length, version 3.1, the
// payload's length, the time in seconds as a double) and the sub-stream's number with the unit.
//
// mplex moves a subtitle stream so that its first unit lies at its delay option's time, and
// that option ends at 79.5 s. So every stream opens with an empty unit at the video's first
// picture, and the times are written 1 s later than they are: mplex takes a time of 0 for none.
class SubtitleTrack {
public:
    SubtitleTrack(int streamId, ByteSink* sink, const Timeline& timeline);

    void add(const PesPacket& packet);
    // Places the units whose timeline is known; atEnd: all of them.
    void release(bool atEnd);
    void finish();

    const SubtitlesOnTimeline& result() const { return result_; }

private:
    struct Unit {
        std::vector<std::uint8_t> bytes;
        std::int64_t pts = 0;
        std::uint64_t filePosition = 0;
    };

    void complete();
    bool settled(const Unit& unit) const;
    void place(const Unit& unit, bool atEnd);
    void writeUnit(const std::uint8_t* data, std::size_t size, double outputTicks);

    ByteSink* sink_;
    const Timeline& timeline_;
    SubtitlesOnTimeline result_;
    std::optional<Unit> building_;
    std::size_t expectedSize_ = 0;
    std::deque<Unit> held_;
    double lastTime_ = 0;
    bool opened_ = false;
};

// The bytes of one unit in the form above, for a unit of `streamId` shown at `outputTicks`.
std::vector<std::uint8_t> multiplexerSubtitleUnit(int streamId, const std::uint8_t* unit,
                                                  std::size_t size, double outputTicks);

}  // namespace mpeg
