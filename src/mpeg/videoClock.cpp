#include "mpeg/videoClock.h"

#include <algorithm>
#include <array>
#include <utility>

namespace mpeg {

namespace {

// A start code and the most header bytes read after it: the picture coding extension's five.
constexpr std::size_t headerReach = 12;
// Ticks of a 25 fps frame, for a sequence header whose frame rate code is unknown.
constexpr double fallbackFrameTicks = 3600;
// A stream without group headers is timed in groups of this many pictures, so that what is
// held of a group stays small.
constexpr std::size_t mostPicturesInGroup = 4096;

}  // namespace

void VideoClock::add(const PesPacket& packet, std::vector<PictureGroup>& completed) {
    const std::uint8_t* data = packet.payload;
    const std::size_t size = packet.size;
    if (!carry_.empty()) {
        // Start codes that began in the previous packet's last bytes belong to that packet.
        std::array<std::uint8_t, 2 * headerReach> joined;
        const std::size_t taken = std::min(size, headerReach);
        std::copy(carry_.begin(), carry_.end(), joined.begin());
        std::copy(data, data + taken, joined.begin() + static_cast<std::ptrdiff_t>(carry_.size()));
        scan(joined.data(), carry_.size() + taken, carry_.size(), carryPosition_, completed);
    }
    packetStamp_ = packet.pts;
    scan(data, size, size, packet.filePosition, completed);
    // What could begin a start code whose header is not read to its end yet.
    const std::size_t keep = headerReach - 1;
    if (size >= keep) {
        carry_.assign(data + size - keep, data + size);
    } else {
        carry_.insert(carry_.end(), data, data + size);
        if (carry_.size() > keep) {
            carry_.erase(carry_.begin(), carry_.end() - static_cast<std::ptrdiff_t>(keep));
        }
    }
    carryPosition_ = packet.filePosition;
}

void VideoClock::finish(std::vector<PictureGroup>& completed) {
    closeGroup(completed);
}

void VideoClock::scan(const std::uint8_t* data, std::size_t size, std::size_t acceptBelow,
                      std::uint64_t position, std::vector<PictureGroup>& completed) {
    for (std::size_t at = nextStartCode(data, 0, size);
         at < acceptBelow && at + headerReach <= size; at = nextStartCode(data, at + 3, size)) {
        onStartCode(data + at, position, completed);
    }
}

void VideoClock::onStartCode(const std::uint8_t* code, std::uint64_t position,
                             std::vector<PictureGroup>& completed) {
    const auto openUnit = [this] {
        if (!unitOpen_) {
            unitOpen_ = true;
            unitStamp_ = std::exchange(packetStamp_, std::nullopt);
        }
    };
    const auto beginGroup = [&] {
        if (!groupPending_) {
            groupPending_ = true;
            pendingPosition_ = position;
        }
    };
    switch (code[3]) {
        case sequenceHeaderCode:
            if (!sequence_) {
                sequence_ = readSequenceHeader(code);
                if (sequence_->frameTicks <= 0) {
                    sequence_->frameTicks = fallbackFrameTicks;
                }
            }
            beginGroup();
            openUnit();
            return;
        case groupStartCode:
            beginGroup();
            openUnit();
            return;
        case extensionStartCode:
            if ((code[4] >> 4) == 1) {
                progressiveSequence_ = (code[5] & 0x08) != 0;
            } else if ((code[4] >> 4) == 8 && !pictures_.empty()) {
                const bool framePicture = (code[6] & 0x03) == 0x03;
                const bool topFieldFirst = (code[7] & 0x80) != 0;
                const bool repeatFirstField = (code[7] & 0x02) != 0;
                double fields = 2;
                if (!framePicture) {
                    fields = 1;
                } else if (repeatFirstField) {
                    fields = progressiveSequence_ ? (topFieldFirst ? 6 : 4) : 3;
                }
                pictures_.back().length = frameTicks() * fields / 2;
            }
            return;
        case pictureStartCode:
            break;
        default:
            return;
    }
    // Pictures before the first sequence header are not in the stream a demultiplexer writes.
    if (!sequence_) {
        return;
    }
    if (groupPending_) {
        closeGroup(completed);
        groupPending_ = false;
        groupPosition_ = pendingPosition_;
    } else if (pictures_.size() >= mostPicturesInGroup) {
        closeGroup(completed);
        groupPosition_ = position;
    }
    Picture picture;
    picture.temporalReference = (code[4] << 2) | (code[5] >> 6);
    picture.length = frameTicks();
    picture.pts = unitOpen_ ? unitStamp_ : std::exchange(packetStamp_, std::nullopt);
    unitOpen_ = false;
    unitStamp_.reset();
    pictures_.push_back(picture);
}

void VideoClock::closeGroup(std::vector<PictureGroup>& completed) {
    if (pictures_.empty() || !groupPosition_) {
        pictures_.clear();
        return;
    }
    PictureGroup group;
    group.filePosition = *groupPosition_;
    for (const Picture& picture : pictures_) {
        group.length += picture.length;
    }
    const auto stamped =
        std::find_if(pictures_.begin(), pictures_.end(),
                     [](const Picture& picture) { return picture.pts.has_value(); });
    if (stamped != pictures_.end()) {
        // Shown after every picture of the group with a lower temporal reference.
        double before = 0;
        for (const Picture& picture : pictures_) {
            if (picture.temporalReference < stamped->temporalReference) {
                before += picture.length;
            }
        }
        group.start = *stamped->pts - static_cast<std::int64_t>(before + 0.5);
    }
    completed.push_back(group);
    pictures_.clear();
}

}  // namespace mpeg
