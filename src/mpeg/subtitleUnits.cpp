#include "mpeg/subtitleUnits.h"

#include <cstring>

#include "mpeg/titleTimeline.h"

namespace mpeg {

namespace {

constexpr std::size_t headerBytes = 40;
constexpr std::uint32_t headerVersion = 0x00030001;
// Subtitles may be shown this long past the video's last picture, as audio may run on.
constexpr double pastVideoTicks = ticksPerSecond;
// mplex takes a time of 0 for none: every time is written this much later.
constexpr double writtenLaterTicks = ticksPerSecond;

// A unit that shows nothing: its size, the offset of its one control sequence, and that
// sequence (no delay, itself as the next, stop display, end).
constexpr std::uint8_t emptyUnit[] = {0x00, 0x0a, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x02, 0xff};

void putLittleEndian(std::vector<std::uint8_t>& to, std::uint64_t value, int bytes) {
    for (int index = 0; index < bytes; ++index) {
        to.push_back(static_cast<std::uint8_t>(value >> (8 * index)));
    }
}

}  // namespace

std::vector<std::uint8_t> multiplexerSubtitleUnit(int streamId, const std::uint8_t* unit,
                                                  std::size_t size, double outputTicks) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(headerBytes + 1 + size);
    for (const char c : {'S', 'U', 'B', 'T', 'I', 'T', 'L', 'E'}) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    putLittleEndian(bytes, headerBytes - 8, 4);
    putLittleEndian(bytes, headerVersion, 4);
    putLittleEndian(bytes, size + 1, 4);
    putLittleEndian(bytes, 0, 4);
    const double seconds = (outputTicks + writtenLaterTicks) / ticksPerSecond;
    std::uint64_t secondsBits = 0;
    static_assert(sizeof seconds == sizeof secondsBits, "an IEEE double");
    std::memcpy(&secondsBits, &seconds, sizeof seconds);
    putLittleEndian(bytes, secondsBits, 8);
    putLittleEndian(bytes, 0, 8);  // no discontinuity, and the struct's padding
    bytes.push_back(static_cast<std::uint8_t>(streamId));
    bytes.insert(bytes.end(), unit, unit + size);
    return bytes;
}

SubtitleTrack::SubtitleTrack(int streamId, ByteSink* sink, const Timeline& timeline)
    : sink_(sink), timeline_(timeline) {
    result_.streamId = streamId;
}

void SubtitleTrack::add(const PesPacket& packet) {
    result_.found = true;
    if (packet.pts) {
        // A unit begins with a time stamp: one still unfinished was cut short.
        if (building_) {
            ++result_.brokenUnits;
        }
        building_ = Unit{{}, *packet.pts, packet.filePosition};
        expectedSize_ = 0;
    }
    if (!building_) {
        // The rest of a unit whose beginning lies before the source's start.
        return;
    }
    building_->bytes.insert(building_->bytes.end(), packet.payload, packet.payload + packet.size);
    if (expectedSize_ == 0 && building_->bytes.size() >= 2) {
        expectedSize_ = std::size_t{building_->bytes[0]} << 8 | building_->bytes[1];
        // A unit holds its size, its control table's offset and at least one command.
        if (expectedSize_ < 5) {
            ++result_.brokenUnits;
            building_.reset();
            return;
        }
    }
    if (expectedSize_ != 0 && building_->bytes.size() >= expectedSize_) {
        complete();
    }
}

void SubtitleTrack::complete() {
    building_->bytes.resize(expectedSize_);
    held_.push_back(std::move(*building_));
    building_.reset();
    release(false);
}

bool SubtitleTrack::settled(const Unit& unit) const {
    return timeline_.hasOrigin() &&
           timeline_.settledBefore() - Timeline::mixedBytes > unit.filePosition &&
           timeline_.settledBefore() > Timeline::mixedBytes;
}

void SubtitleTrack::release(bool atEnd) {
    while (!held_.empty() && (atEnd || settled(held_.front()))) {
        place(held_.front(), atEnd);
        held_.pop_front();
    }
}

void SubtitleTrack::place(const Unit& unit, bool atEnd) {
    const std::optional<double> time = timeline_.outputTime(unit.pts, unit.filePosition, lastTime_);
    const bool inVideo = time && *time >= 0 && *time >= lastTime_ &&
                         (!atEnd || *time <= timeline_.videoLength() + pastVideoTicks);
    if (!inVideo) {
        ++result_.unitsLeftOut;
        return;
    }
    if (!opened_) {
        writeUnit(emptyUnit, sizeof emptyUnit, 0);
        opened_ = true;
        result_.firstTime = *time;
    }
    writeUnit(unit.bytes.data(), unit.bytes.size(), *time);
    lastTime_ = *time;
    ++result_.units;
    result_.sourceBytes += unit.bytes.size();
}

void SubtitleTrack::writeUnit(const std::uint8_t* data, std::size_t size, double outputTicks) {
    const std::vector<std::uint8_t> bytes =
        multiplexerSubtitleUnit(result_.streamId, data, size, outputTicks);
    if (sink_ != nullptr) {
        sink_->write(bytes.data(), bytes.size());
    }
    result_.bytesWritten += bytes.size();
}

void SubtitleTrack::finish() {
    if (building_) {
        ++result_.brokenUnits;
        building_.reset();
    }
    release(true);
}

}  // namespace mpeg
