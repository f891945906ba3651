#include "mpeg/audioUnits.h"

#include <algorithm>
#include <utility>

#include "mpeg/programStream.h"

namespace mpeg {

namespace {

// Consumed bytes are dropped from the front of the buffer once they are this many.
constexpr std::size_t compactionThreshold = 1 << 20;
// Without a time stamp in this much, the stream is passed on from its first whole unit.
constexpr std::size_t stampLookAhead = 8 << 20;

}  // namespace

AudioUnits::AudioUnits(AudioFormat format, RunHandler handler)
    : handler_(std::move(handler)), format_(format) {}

AudioUnits::AudioUnits(const LpcmLayout& layout, RunHandler handler)
    : handler_(std::move(handler)), groupBytes_(std::max<std::size_t>(layout.groupBytes, 1)) {
    const int samplesPerGroup = layout.bitsPerSample == 16 ? 1 : 2;
    groupTicks_ = layout.sampleRate > 0
                      ? static_cast<double>(ticksPerSecond) * samplesPerGroup / layout.sampleRate
                      : 0;
}

void AudioUnits::feed(const std::uint8_t* data, std::size_t size,
                      std::optional<std::size_t> unitOffset, std::optional<std::int64_t> pts,
                      std::uint64_t filePosition) {
    const std::uint64_t packetStart = offsetOf(pending_.size());
    packets_.push_back({packetStart, filePosition});
    if (pts) {
        if (unitOffset && *unitOffset < size) {
            stamps_.push_back({packetStart + *unitOffset, packetStart + size, *pts});
        } else if (format_ == AudioFormat::MpegAudio) {
            stamps_.push_back({packetStart, packetStart + size, *pts});
        }
    }
    pending_.insert(pending_.end(), data, data + size);
    if (!begun_) {
        begin(false);
    }
    if (begun_) {
        process(false);
    }
    compact();
}

void AudioUnits::finish() {
    if (!begun_) {
        begin(true);
    }
    process(true);
    bytesPassedOver_ += pending_.size() - at_;
    pending_.clear();
    at_ = 0;
}

void AudioUnits::begin(bool atEnd) {
    while (!stamps_.empty()) {
        Stamp& stamp = stamps_.front();
        const std::size_t at = static_cast<std::size_t>(stamp.offset - dropped_);
        if (!format_) {
            bytesPassedOver_ += at - at_;
            at_ = at;
            begun_ = true;
            return;
        }
        // The pointer names a frame; MPEG audio's first frame in the packet is looked for.
        const std::size_t last = format_ == AudioFormat::MpegAudio
                                     ? static_cast<std::size_t>(stamp.end - dropped_)
                                     : at + 1;
        for (std::size_t candidate = at; candidate < last; ++candidate) {
            if (candidate + audioHeaderBytes > pending_.size()) {
                if (!atEnd) {
                    return;  // not read yet
                }
                break;
            }
            const std::optional<std::size_t> length = frameAt(candidate);
            if (!length) {
                continue;
            }
            const std::size_t next = candidate + *length;
            if (next + audioHeaderBytes > pending_.size() && !atEnd) {
                return;  // its successor is not read yet
            }
            if (next + audioHeaderBytes > pending_.size() || frameAt(next)) {
                stamp.offset = offsetOf(candidate);
                bytesPassedOver_ += candidate - at_;
                at_ = candidate;
                begun_ = true;
                return;
            }
        }
        stamps_.pop_front();
    }
    if (atEnd || pending_.size() - at_ > stampLookAhead) {
        begun_ = true;  // no time stamp to go by: from the first whole unit on
    }
}

std::optional<std::size_t> AudioUnits::frameAt(std::size_t at) const {
    if (pending_.size() - at < audioHeaderBytes) {
        return std::nullopt;
    }
    const auto header = readAudioFrameHeader(*format_, pending_.data() + at);
    if (!header || header->length < audioHeaderBytes) {
        return std::nullopt;
    }
    return header->length;
}

void AudioUnits::process(bool atEnd) {
    if (!format_) {
        while (pending_.size() - at_ >= groupBytes_) {
            std::size_t groups = (pending_.size() - at_) / groupBytes_;
            // A run ends where the next time stamp's unit begins.
            const std::uint64_t here = offsetOf(at_);
            for (const Stamp& stamp : stamps_) {
                if (stamp.offset > here) {
                    const std::uint64_t upTo =
                        (stamp.offset - here + groupBytes_ - 1) / groupBytes_;
                    groups = std::min<std::size_t>(groups, static_cast<std::size_t>(upTo));
                    break;
                }
            }
            emit(groups * groupBytes_, static_cast<std::int64_t>(groups), groupTicks_);
        }
        return;
    }
    for (;;) {
        if (pending_.size() - at_ < audioHeaderBytes) {
            return;
        }
        const std::optional<std::size_t> length = frameAt(at_);
        if (!length) {
            if (!resynchronise(atEnd)) {
                return;
            }
            continue;
        }
        if (pending_.size() - at_ < *length) {
            return;
        }
        const auto header = readAudioFrameHeader(*format_, pending_.data() + at_);
        emit(*length, 1, static_cast<double>(header->duration));
    }
}

bool AudioUnits::resynchronise(bool atEnd) {
    for (std::size_t candidate = at_ + 1; candidate + audioHeaderBytes <= pending_.size();
         ++candidate) {
        const std::optional<std::size_t> length = frameAt(candidate);
        if (!length) {
            continue;
        }
        const std::size_t next = candidate + *length;
        if (next + audioHeaderBytes > pending_.size()) {
            if (!atEnd) {
                bytesPassedOver_ += candidate - at_;
                at_ = candidate;
                return false;  // the successor is not read yet
            }
        } else if (!frameAt(next)) {
            continue;
        }
        bytesPassedOver_ += candidate - at_;
        at_ = candidate;
        return true;
    }
    // Every place left could still begin a header that is not read to its end.
    const std::size_t unchecked = atEnd ? pending_.size() : pending_.size() + 1 - audioHeaderBytes;
    if (unchecked > at_) {
        bytesPassedOver_ += unchecked - at_;
        at_ = unchecked;
    }
    return false;
}

void AudioUnits::emit(std::size_t length, std::int64_t units, double unitTicks) {
    const std::uint64_t offset = offsetOf(at_);
    Run run;
    run.data = pending_.data() + at_;
    run.size = length;
    run.units = units;
    run.unitTicks = unitTicks;
    run.pts = stampFor(offset);
    run.filePosition = filePositionOf(offset);
    at_ += length;
    handler_(run);
}

std::optional<std::int64_t> AudioUnits::stampFor(std::uint64_t offset) {
    while (!stamps_.empty() && stamps_.front().end <= offset) {
        stamps_.pop_front();
    }
    if (stamps_.empty() || stamps_.front().offset > offset) {
        return std::nullopt;
    }
    const std::int64_t pts = stamps_.front().pts;
    stamps_.pop_front();
    return pts;
}

std::uint64_t AudioUnits::filePositionOf(std::uint64_t offset) {
    while (packets_.size() > 1 && packets_[1].offset <= offset) {
        packets_.pop_front();
    }
    return packets_.empty() ? 0 : packets_.front().filePosition;
}

void AudioUnits::compact() {
    if (at_ >= compactionThreshold) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at_));
        dropped_ += at_;
        at_ = 0;
    }
}

}  // namespace mpeg
