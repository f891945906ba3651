#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/videoClock.h"

namespace mpeg {

// One running output time for a title whose time stamps restart or jump: the video is the master,
// and its output time runs on picture by picture, as a multiplexer that counts pictures makes it.
// A piece is a stretch of the source on one clock: each piece maps its time stamps onto the
// output time with an offset of its own, the same for every stream.
class Timeline {
public:
    enum class Change { None, StartsAgain, JumpsForward };

    struct Piece {
        std::uint64_t filePosition = 0;  // where its packets begin in the source
        double outputStart = 0;          // output ticks, 0 at the video's first picture
        std::int64_t sourceStart = 0;    // its first group's start on the source's clock
        Change change = Change::None;    // how the source's clock moved where it begins
        double jump = 0;                 // how far, in ticks (negative: back)
    };

    // Every pack's system clock reference, in file order: where it goes back or leaps, a piece
    // may begin at that pack.
    void noteClockReference(std::uint64_t filePosition, std::int64_t clockReference);
    // A NAV pack's payload: where its VOBU's start time is not the previous VOBU's end time, a
    // piece may begin at that pack.
    void noteNavigation(std::uint64_t filePosition, const std::uint8_t* payload, std::size_t size);
    // The next complete group of pictures of the video. A group whose start is more than half a
    // frame from where the pictures before it end begins a new piece.
    void addGroup(const PictureGroup& group);
    // The source has ended: every piece is known.
    void finish() { finished_ = true; }

    // Whether a group with a time stamp was seen: without one nothing can be lined up.
    bool hasOrigin() const { return !pieces_.empty(); }
    // The source's time stamp that the video's first picture carries.
    std::optional<std::int64_t> origin() const;
    // The video's length so far, in output ticks.
    double videoLength() const { return length_; }
    // Packets before this file position belong to pieces that are all known.
    std::uint64_t settledBefore() const;
    // The output time of a time stamp read at filePosition. Near the beginning of a piece the
    // packets of two pieces meet in the file: there, of the two mappings, the one nearest to
    // `expected` (where the stream's next unit belongs) is taken. nullopt without an origin.
    std::optional<double> outputTime(std::int64_t pts, std::uint64_t filePosition,
                                     double expected) const;
    // A piece other than the first that begins within a second of outputTime; nullptr if none.
    const Piece* pieceBeginningNear(double outputTime) const;

    // How far, in bytes of the file, packets of two pieces may lie mixed around where one begins.
    static constexpr std::uint64_t mixedBytes = 1 << 20;

private:
    std::vector<Piece> pieces_;
    std::deque<std::uint64_t> clockBreaks_;  // file positions where a piece may begin
    std::optional<std::int64_t> lastClockReference_;
    std::optional<std::uint32_t> lastNavigationEnd_;
    double length_ = 0;
    std::optional<std::uint64_t> lastGroupPosition_;
    bool finished_ = false;
};

// The difference a − b of two 33-bit time stamps, taken the short way round the clock.
std::int64_t timeStampDifference(std::int64_t a, std::int64_t b);

// "0:10:00.0": a position on the output time, for reports.
std::string outputClockText(double ticks);

}  // namespace mpeg
