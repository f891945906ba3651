#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "mpeg/programStream.h"
#include "mpeg/videoHeaders.h"

namespace mpeg {

// One group of pictures of a video stream, as a multiplexer that counts pictures times it.
struct PictureGroup {
    std::uint64_t filePosition = 0;  // of the packet its first header began in
    // The source's time of its earliest picture shown, leading B-pictures included; nullopt when
    // none of its pictures carries a time stamp.
    std::optional<std::int64_t> start;
    double length = 0;  // 90 kHz ticks it is shown for, repeated fields counted
};

// Follows a video elementary stream packet by packet, in file order, without holding it: reads
// only the start codes and the few header bytes that time its pictures (sequence header and
// extension, group header, picture header and coding extension).
class VideoClock {
public:
    // The next packet of the video stream; the groups it completed are appended to `completed`.
    void add(const PesPacket& packet, std::vector<PictureGroup>& completed);
    // The stream has ended: the last group is complete.
    void finish(std::vector<PictureGroup>& completed);

    // The first sequence header, once one was read.
    const std::optional<SequenceHeader>& sequence() const { return sequence_; }

private:
    struct Picture {
        int temporalReference = 0;
        double length = 0;
        std::optional<std::int64_t> pts;
    };

    void scan(const std::uint8_t* data, std::size_t size, std::size_t acceptBelow,
              std::uint64_t position, std::vector<PictureGroup>& completed);
    void onStartCode(const std::uint8_t* code, std::uint64_t position,
                     std::vector<PictureGroup>& completed);
    void closeGroup(std::vector<PictureGroup>& completed);
    double frameTicks() const { return sequence_ ? sequence_->frameTicks : 0; }

    std::optional<SequenceHeader> sequence_;
    bool progressiveSequence_ = false;
    // The last bytes of the previous packet, where a start code may begin.
    std::vector<std::uint8_t> carry_;
    std::uint64_t carryPosition_ = 0;
    // The time stamp of the packet being read, until an access unit beginning in it takes it.
    std::optional<std::int64_t> packetStamp_;
    bool unitOpen_ = false;  // a sequence or group header opened the next picture's access unit
    std::optional<std::int64_t> unitStamp_;
    bool groupPending_ = false;  // a header that begins a group was read; its picture follows
    std::uint64_t pendingPosition_ = 0;
    std::optional<std::uint64_t> groupPosition_;
    std::vector<Picture> pictures_;
};

}  // namespace mpeg
