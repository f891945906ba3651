#include "mpeg/timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace mpeg {

namespace {

constexpr std::int64_t clockCycle = std::int64_t{1} << 33;
// Half a frame: time stamps are exact to a tick or two, and a picture is never shorter.
constexpr double discontinuityTicks = 1500;
// A pack's clock reference runs at the multiplexing rate: more than this between two packs is
// a leap of the source's clock, not a pause of the multiplexer.
constexpr std::int64_t clockLeapTicks = 63000;
constexpr double nearTicks = 90000;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

}  // namespace

std::int64_t timeStampDifference(std::int64_t a, std::int64_t b) {
    std::int64_t difference = (a - b) % clockCycle;
    if (difference >= clockCycle / 2) {
        difference -= clockCycle;
    } else if (difference < -clockCycle / 2) {
        difference += clockCycle;
    }
    return difference;
}

std::string outputClockText(double ticks) {
    const long long tenths = std::llround(std::max(ticks, 0.0) / 9000);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", tenths / 36000, tenths / 600 % 60,
                  tenths / 10 % 60, tenths % 10);
    return text;
}

void Timeline::noteClockReference(std::uint64_t filePosition, std::int64_t clockReference) {
    if (lastClockReference_) {
        const std::int64_t step = clockReference - *lastClockReference_;
        if (step < 0 || step > clockLeapTicks) {
            clockBreaks_.push_back(filePosition);
        }
    }
    lastClockReference_ = clockReference;
}

void Timeline::noteNavigation(std::uint64_t filePosition, const std::uint8_t* payload,
                              std::size_t size) {
    // The presentation control information: sub-stream 0, its VOBU start and end times at 13.
    if (size < 21 || payload[0] != 0) {
        return;
    }
    const std::uint32_t start = bigEndian32(payload + 13);
    const std::uint32_t end = bigEndian32(payload + 17);
    if (start == 0 && end == 0) {
        return;  // a placeholder, as some multiplexers write them
    }
    if (lastNavigationEnd_ && start != *lastNavigationEnd_) {
        clockBreaks_.push_back(filePosition);
    }
    lastNavigationEnd_ = end;
}

void Timeline::addGroup(const PictureGroup& group) {
    const std::optional<std::uint64_t> previousGroup = lastGroupPosition_;
    lastGroupPosition_ = group.filePosition;
    if (group.start) {
        Piece piece;
        piece.outputStart = length_;
        piece.sourceStart = *group.start;
        if (!pieces_.empty()) {
            const Piece& current = pieces_.back();
            const std::int64_t expectedSource =
                current.sourceStart + std::llround(length_ - current.outputStart);
            const auto jump =
                static_cast<double>(timeStampDifference(*group.start, expectedSource));
            if (std::fabs(jump) > discontinuityTicks) {
                piece.change = jump < 0 ? Change::StartsAgain : Change::JumpsForward;
                piece.jump = jump;
                // The clock's own break, where the file shows one, is where the piece's packets
                // begin; the group's packet otherwise.
                piece.filePosition = group.filePosition;
                for (auto at = clockBreaks_.rbegin(); at != clockBreaks_.rend(); ++at) {
                    if (*at <= group.filePosition && (!previousGroup || *at > *previousGroup)) {
                        piece.filePosition = *at;
                        break;
                    }
                }
                pieces_.push_back(piece);
            }
        } else {
            pieces_.push_back(piece);
        }
    }
    length_ += group.length;
    // Only a break after this group can begin a later piece.
    while (!clockBreaks_.empty() && clockBreaks_.front() <= group.filePosition) {
        clockBreaks_.pop_front();
    }
}

std::optional<std::int64_t> Timeline::origin() const {
    if (pieces_.empty()) {
        return std::nullopt;
    }
    return pieces_.front().sourceStart - static_cast<std::int64_t>(pieces_.front().outputStart);
}

std::uint64_t Timeline::settledBefore() const {
    if (finished_) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return lastGroupPosition_.value_or(0);
}

std::optional<double> Timeline::outputTime(std::int64_t pts, std::uint64_t filePosition,
                                           double expected) const {
    if (pieces_.empty()) {
        return std::nullopt;
    }
    // The last piece that begins at or before the packet.
    const auto after = std::upper_bound(
        pieces_.begin() + 1, pieces_.end(), filePosition,
        [](std::uint64_t position, const Piece& piece) { return position < piece.filePosition; });
    const auto own = static_cast<std::size_t>(after - pieces_.begin()) - 1;
    const auto mapped = [&](std::size_t index) {
        const Piece& piece = pieces_[index];
        return piece.outputStart + static_cast<double>(timeStampDifference(pts, piece.sourceStart));
    };
    double best = mapped(own);
    const auto consider = [&](std::size_t index) {
        const double other = mapped(index);
        if (std::fabs(other - expected) < std::fabs(best - expected)) {
            best = other;
        }
    };
    if (own > 0 && filePosition < pieces_[own].filePosition + mixedBytes) {
        consider(own - 1);
    }
    if (own + 1 < pieces_.size() && pieces_[own + 1].filePosition < filePosition + mixedBytes) {
        consider(own + 1);
    }
    return best;
}

const Timeline::Piece* Timeline::pieceBeginningNear(double outputTime) const {
    for (std::size_t index = 1; index < pieces_.size(); ++index) {
        if (std::fabs(pieces_[index].outputStart - outputTime) <= nearTicks) {
            return &pieces_[index];
        }
    }
    return nullptr;
}

}  // namespace mpeg
