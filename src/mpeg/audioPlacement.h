#pragma once

#include <cstdint>
#include <optional>

namespace mpeg {

// Where each run of an audio track's units goes on the output time: a unit is a frame, or for
// LPCM a group of samples. A run whose time lies later than the next free slot by more than the
// tolerance gets silence before it; one lying earlier by more loses its first units. So a gap is
// kept as silence, an overlap is trimmed, and every unit stays within the tolerance of its own
// time. Before the first unit is written, the slot is the video's first picture: audio before
// it is left out, audio after it waits behind silence.
class AudioPlacement {
public:
    struct Decision {
        std::int64_t silence = 0;  // units of silence to write before the run
        std::int64_t skip = 0;     // units of the run's beginning left out
    };

    // unitTicks: the length of one unit in 90 kHz ticks; tolerance in ticks (half a frame).
    AudioPlacement(double unitTicks, double tolerance);

    // A run of `units` units whose first is heard at output time `time`; nullopt: it follows
    // the previous run without a gap.
    Decision place(std::optional<double> time, std::int64_t units);

    // A run at `time` left out before it is placed (past the video's end): the runs after it
    // without a time of their own lie after it.
    void passOver(double time, std::int64_t units) {
        expected_ = time + static_cast<double>(units) * unitTicks_;
    }

    // Where a run without a time of its own is taken to lie.
    double expected() const { return expected_; }
    // Where the next unit written goes.
    double nextSlot() const { return next_; }
    bool started() const { return started_; }
    double tolerance() const { return tolerance_; }

private:
    double unitTicks_;
    double tolerance_;
    double next_ = 0;
    double expected_ = 0;
    bool started_ = false;
};

}  // namespace mpeg
