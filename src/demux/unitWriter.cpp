#include "demux/unitWriter.h"

#include "demux/outputFile.h"

namespace demux {

namespace {

// Consumed bytes are dropped from the front of the buffer once they are this many.
constexpr std::size_t compactionThreshold = 1 << 20;

}  // namespace

UnitWriter::UnitWriter(OutputFile& output, mpeg::AudioFormat format)
    : output_(output), format_(format) {}

UnitWriter::UnitWriter(OutputFile& output, std::size_t groupBytes)
    : output_(output), groupBytes_(groupBytes == 0 ? 1 : groupBytes) {}

void UnitWriter::feed(const std::uint8_t* data, std::size_t size) {
    pending_.insert(pending_.end(), data, data + size);
    process(false);
    if (at_ >= compactionThreshold) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at_));
        at_ = 0;
    }
}

void UnitWriter::finish() {
    process(true);
    bytesPassedOver_ += pending_.size() - at_;
    pending_.clear();
    at_ = 0;
}

std::optional<std::size_t> UnitWriter::frameAt(std::size_t offset) const {
    if (pending_.size() - offset < mpeg::audioHeaderBytes) {
        return std::nullopt;
    }
    const auto header = mpeg::readAudioFrameHeader(*format_, pending_.data() + offset);
    if (!header || header->length < mpeg::audioHeaderBytes) {
        return std::nullopt;
    }
    return header->length;
}

void UnitWriter::process(bool atEnd) {
    if (!format_) {
        const std::size_t whole = (pending_.size() - at_) / groupBytes_ * groupBytes_;
        for (std::size_t unit = 0; unit < whole / groupBytes_ && toLeaveOut_ > 0; ++unit) {
            at_ += groupBytes_;
            --toLeaveOut_;
            ++unitsLeftOut_;
        }
        emit((pending_.size() - at_) / groupBytes_ * groupBytes_);
        return;
    }
    for (;;) {
        if (pending_.size() - at_ < mpeg::audioHeaderBytes) {
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
        if (toLeaveOut_ > 0) {
            at_ += *length;
            --toLeaveOut_;
            ++unitsLeftOut_;
        } else {
            emit(*length);
        }
    }
}

bool UnitWriter::resynchronise(bool atEnd) {
    for (std::size_t candidate = at_ + 1; candidate + mpeg::audioHeaderBytes <= pending_.size();
         ++candidate) {
        const std::optional<std::size_t> length = frameAt(candidate);
        if (!length) {
            continue;
        }
        const std::size_t next = candidate + *length;
        if (next + mpeg::audioHeaderBytes > pending_.size()) {
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
    const std::size_t unchecked =
        atEnd ? pending_.size() : pending_.size() + 1 - mpeg::audioHeaderBytes;
    if (unchecked > at_) {
        bytesPassedOver_ += unchecked - at_;
        at_ = unchecked;
    }
    return false;
}

void UnitWriter::emit(std::size_t length) {
    output_.write(pending_.data() + at_, length);
    at_ += length;
}

}  // namespace demux
