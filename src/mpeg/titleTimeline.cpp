#include "mpeg/titleTimeline.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>

#include "mpeg/audioPlacement.h"
#include "mpeg/audioUnits.h"
#include "mpeg/programStream.h"
#include "mpeg/silentFrames.h"
#include "mpeg/videoClock.h"

namespace mpeg {

namespace {

// Audio may run on this far past the video's end; silence never reaches past it.
constexpr double pastVideoTicks = ticksPerSecond;
// LPCM's units are samples: a time stamp is trusted to within a DVD LPCM frame's half.
constexpr double lpcmToleranceTicks = 75;
// What a track may hold back while the timeline is not known around it.
constexpr std::size_t heldBytesBound = 16 << 20;

std::string milliseconds(double ticks) {
    return std::to_string(std::llround(ticks / 90)) + " ms";
}

// One requested audio track: its units are held until the timeline around them is known, then
// placed and written.
class TrackReader {
public:
    TrackReader(int streamId, AudioFormat format, ByteSink* sink, const Timeline& timeline)
        : format_(format), sink_(sink), timeline_(timeline) {
        result_.streamId = streamId;
    }

    // Runs one step of the reading; a track that is only counted keeps its failure to itself.
    template <typename Step>
    void guarded(Step step) {
        if (!result_.error.empty()) {
            return;
        }
        try {
            step();
        } catch (const TimelineError& failure) {
            if (sink_ != nullptr) {
                throw;
            }
            result_.error = failure.what();
        }
    }

    void add(const PesPacket& packet) {
        result_.found = true;
        if (!units_) {
            const auto onRun = [this](const AudioUnits::Run& run) { hold(run); };
            if (format_ == AudioFormat::Lpcm) {
                lpcm_ = readLpcmLayout(packet.lpcmHeader);
                units_.emplace(*lpcm_, onRun);
            } else {
                units_.emplace(format_, onRun);
            }
        }
        units_->feed(packet.payload, packet.size, packet.firstAccessUnit, packet.pts,
                     packet.filePosition);
        release(false);
    }

    void release(bool atEnd) {
        while (!held_.empty()) {
            if (!atEnd && !settled(held_.front())) {
                if (heldBytes_ <= heldBytesBound) {
                    return;
                }
                // Nothing around it will be known in time: it goes by what is known now.
            }
            if (!place(held_.front(), atEnd)) {
                if (heldBytes_ <= heldBytesBound) {
                    return;
                }
                throw TimelineError("the time stamps of audio stream " +
                                    streamIdText(result_.streamId) +
                                    " lie far past the video's, which they make no sense against");
            }
            heldBytes_ -= held_.front().bytes.size();
            held_.pop_front();
        }
    }

    void finish() {
        if (!result_.found) {
            return;
        }
        units_->finish();
        release(true);
        result_.bytesPassedOver = units_->bytesPassedOver();
        if (realUnits_ == 0) {
            throw TimelineError(emptyReason());
        }
    }

    const TrackOnTimeline& result() const { return result_; }

private:
    struct HeldRun {
        std::vector<std::uint8_t> bytes;
        std::int64_t units = 0;
        double unitTicks = 0;
        std::optional<std::int64_t> pts;
        std::uint64_t filePosition = 0;
    };

    void hold(const AudioUnits::Run& run) {
        HeldRun held;
        held.bytes.assign(run.data, run.data + run.size);
        held.units = run.units;
        held.unitTicks = run.unitTicks;
        held.pts = run.pts;
        held.filePosition = run.filePosition;
        heldBytes_ += held.bytes.size();
        held_.push_back(std::move(held));
    }

    bool settled(const HeldRun& run) const {
        return timeline_.hasOrigin() &&
               timeline_.settledBefore() - Timeline::mixedBytes > run.filePosition &&
               timeline_.settledBefore() > Timeline::mixedBytes;
    }

    // Places the run and writes it; false when it lies past the video known so far and must wait.
    bool place(const HeldRun& run, bool atEnd) {
        if (!timeline_.hasOrigin()) {
            // No picture with a time stamp: the audio begins with its first whole unit.
            write(run.bytes.data(), run.bytes.size());
            realUnits_ += run.units;
            return true;
        }
        if (!placement_) {
            startPlacement(run);
        }
        std::optional<double> time;
        if (run.pts) {
            time = timeline_.outputTime(*run.pts, run.filePosition, placement_->expected());
        }
        if (time && placement_->started() && isOutlier(*time)) {
            time.reset();
        }
        const double at = time.value_or(placement_->expected());
        const double limit = timeline_.videoLength() + pastVideoTicks;
        std::int64_t units = run.units;
        if (at + run.unitTicks > limit) {
            if (!atEnd) {
                return false;
            }
            units =
                std::max<std::int64_t>(0, static_cast<std::int64_t>((limit - at) / run.unitTicks));
            result_.unitsPastVideo += run.units - units;
            if (units == 0) {
                placement_->passOver(at, run.units);
                return true;
            }
        }
        const bool started = placement_->started();
        const AudioPlacement::Decision decision = placement_->place(time, units);
        const std::int64_t written = units - decision.skip;
        if (decision.silence > 0) {
            writeSilence(decision.silence, at);
        }
        if (written > 0) {
            const std::size_t unitBytes = run.bytes.size() / static_cast<std::size_t>(run.units);
            const std::size_t from = static_cast<std::size_t>(decision.skip) * unitBytes;
            write(run.bytes.data() + from, static_cast<std::size_t>(written) * unitBytes);
            realUnits_ += written;
        }
        if (!started) {
            result_.silenceAtStart += decision.silence;
            result_.leftOutAtStart += decision.skip;
            if (written > 0) {
                const double firstReal = at + static_cast<double>(decision.skip) * run.unitTicks;
                const double slot =
                    placement_->nextSlot() - static_cast<double>(written) * run.unitTicks;
                result_.startOffset = firstReal - slot;
            }
        } else {
            note(at, decision);
        }
        lastSkippedAll_ = written == 0;
        return true;
    }

    // Whether a time stamp that puts the front run away from where it was expected is the only
    // one to: the next stamped run goes on from the expected place, as a multiplexer's slip of
    // one stamp does. A gap, an overlap or a new piece moves the stamps after it too.
    bool isOutlier(double time) const {
        const double tolerance = placement_->tolerance();
        if (std::fabs(time - placement_->expected()) <= tolerance) {
            return false;
        }
        double expected = placement_->expected();
        for (std::size_t index = 0; index + 1 < held_.size(); ++index) {
            expected += static_cast<double>(held_[index].units) * held_[index].unitTicks;
            const HeldRun& next = held_[index + 1];
            if (next.pts) {
                const auto nextTime = timeline_.outputTime(*next.pts, next.filePosition, expected);
                return nextTime && std::fabs(*nextTime - expected) <= tolerance;
            }
        }
        return false;
    }

    void startPlacement(const HeldRun& run) {
        result_.unitTicks = run.unitTicks;
        const double tolerance =
            format_ == AudioFormat::Lpcm ? lpcmToleranceTicks : run.unitTicks / 2;
        placement_.emplace(run.unitTicks, tolerance);
        if (format_ == AudioFormat::Lpcm) {
            silence_.assign(lpcm_->groupBytes, 0);
        } else if (format_ == AudioFormat::Ac3) {
            if (auto made = silentAc3Frame(run.bytes.data(), run.bytes.size())) {
                silence_ = std::move(*made);
            }
        } else if (format_ == AudioFormat::MpegAudio) {
            if (auto made = silentMpegAudioFrame(run.bytes.data())) {
                silence_ = std::move(*made);
            }
        }
        if (const auto header = format_ == AudioFormat::Lpcm
                                    ? std::nullopt
                                    : readAudioFrameHeader(format_, run.bytes.data())) {
            codec_ = header->codec;
        }
    }

    void writeSilence(std::int64_t units, double at) {
        if (silence_.empty()) {
            const std::string where =
                placement_->started()
                    ? " has a gap of " +
                          milliseconds(static_cast<double>(units) * result_.unitTicks) + " at " +
                          outputClockText(at)
                    : " begins " + milliseconds(static_cast<double>(units) * result_.unitTicks) +
                          " after the video";
            throw TimelineError("the " + codec_ + " stream" + where +
                                ", and no silence of its format can be made to keep it in step");
        }
        for (std::int64_t unit = 0; unit < units; ++unit) {
            write(silence_.data(), silence_.size());
        }
    }

    void write(const std::uint8_t* data, std::size_t size) {
        if (sink_ != nullptr) {
            sink_->write(data, size);
        }
        result_.bytesWritten += size;
    }

    void note(double at, const AudioPlacement::Decision& decision) {
        if (decision.silence == 0 && decision.skip == 0) {
            return;
        }
        if (decision.silence == 0 && lastSkippedAll_ && !result_.corrections.empty() &&
            result_.corrections.back().silence == 0) {
            result_.corrections.back().leftOut += decision.skip;
            return;
        }
        AudioCorrection correction;
        correction.outputTime = at;
        correction.silence = decision.silence;
        correction.leftOut = decision.skip;
        correction.unitTicks = result_.unitTicks;
        if (const Timeline::Piece* piece = timeline_.pieceBeginningNear(at)) {
            correction.cause = piece->change == Timeline::Change::StartsAgain
                                   ? "time stamps start again"
                                   : "time stamps jump forward by " + outputClockText(piece->jump);
        } else {
            correction.cause = decision.silence > 0 ? "a gap in the audio" : "the audio overlaps";
        }
        result_.corrections.push_back(correction);
    }

    std::string emptyReason() const {
        const std::string stream = "audio stream " + streamIdText(result_.streamId);
        if (result_.unitsPastVideo > 0) {
            return "the time stamps of " + stream +
                   " lie past the video's end, which they make no sense against";
        }
        if (result_.leftOutAtStart > 0) {
            return stream + " lies wholly before the video's first picture";
        }
        return stream + " holds no whole audio frame";
    }

    AudioFormat format_;
    ByteSink* sink_;
    const Timeline& timeline_;
    TrackOnTimeline result_;
    std::optional<LpcmLayout> lpcm_;
    std::optional<AudioUnits> units_;
    std::deque<HeldRun> held_;
    std::size_t heldBytes_ = 0;
    std::optional<AudioPlacement> placement_;
    std::vector<std::uint8_t> silence_;
    std::string codec_ = "audio";
    std::int64_t realUnits_ = 0;
    bool lastSkippedAll_ = false;
};

}  // namespace

TitleOnTimeline readTitleTimeline(const std::string& path, const std::vector<TrackRequest>& tracks,
                                  bool countOtherAudio) {
    TitleRead read;
    read.tracks = tracks;
    read.countOtherAudio = countOtherAudio;
    return readTitleTimeline(path, read);
}

TitleOnTimeline readTitleTimeline(const std::string& path, const TitleRead& read) {
    ProgramStreamReader reader(path);
    Timeline timeline;
    VideoClock clock;
    std::vector<PictureGroup> groups;
    std::vector<std::unique_ptr<TrackReader>> readers;
    std::vector<int> readerIds;
    for (const TrackRequest& track : read.tracks) {
        const auto format = audioFormatOfStream(track.streamId);
        if (!format) {
            throw std::runtime_error("stream " + streamIdText(track.streamId) +
                                     " is no audio stream");
        }
        readers.push_back(
            std::make_unique<TrackReader>(track.streamId, *format, track.sink, timeline));
        readerIds.push_back(track.streamId);
    }
    std::vector<std::unique_ptr<SubtitleTrack>> subtitles;
    for (const TrackRequest& stream : read.subtitles) {
        if (!isSubpictureStream(stream.streamId)) {
            throw std::runtime_error("stream " + streamIdText(stream.streamId) +
                                     " is no subtitle stream");
        }
        subtitles.push_back(
            std::make_unique<SubtitleTrack>(stream.streamId, stream.sink, timeline));
    }
    TitleOnTimeline title;
    const auto addGroups = [&] {
        for (const PictureGroup& group : groups) {
            timeline.addGroup(group);
        }
        groups.clear();
    };
    reader.read([&](const PesPacket& packet) {
        if (packet.clockReference) {
            timeline.noteClockReference(packet.filePosition, *packet.clockReference);
        }
        if (packet.streamId == navigationStream) {
            timeline.noteNavigation(packet.filePosition, packet.payload, packet.size);
        } else if (packet.streamId == firstVideoStream) {
            if (read.onVideoPacket) {
                read.onVideoPacket(packet);
            }
            clock.add(packet, groups);
            if (!groups.empty()) {
                addGroups();
                for (auto& track : readers) {
                    track->guarded([&] { track->release(false); });
                }
                for (auto& stream : subtitles) {
                    stream->release(false);
                }
            }
        } else if (const auto format = audioFormatOfStream(packet.streamId)) {
            const bool kept =
                std::find(readerIds.begin(), readerIds.end(), packet.streamId) != readerIds.end();
            if (!kept && read.countOtherAudio) {
                readers.push_back(
                    std::make_unique<TrackReader>(packet.streamId, *format, nullptr, timeline));
                readerIds.push_back(packet.streamId);
            }
            for (std::size_t index = 0; index < readers.size(); ++index) {
                if (readerIds[index] == packet.streamId) {
                    TrackReader& track = *readers[index];
                    track.guarded([&] { track.add(packet); });
                }
            }
        } else if (isSubpictureStream(packet.streamId)) {
            for (auto& stream : subtitles) {
                if (stream->result().streamId == packet.streamId) {
                    stream->add(packet);
                }
            }
        }
        return true;
    });
    clock.finish(groups);
    addGroups();
    timeline.finish();
    for (std::size_t index = 0; index < readers.size(); ++index) {
        TrackReader& track = *readers[index];
        track.guarded([&] { track.finish(); });
        (index < read.tracks.size() ? title.tracks : title.otherAudio).push_back(track.result());
    }
    for (auto& stream : subtitles) {
        stream->finish();
        title.subtitles.push_back(stream->result());
    }
    title.videoStart = timeline.origin();
    title.videoTicks = timeline.videoLength();
    return title;
}

std::string correctionText(const AudioCorrection& correction, int streamId) {
    const bool lpcm = streamId >= 0xa0 && streamId <= 0xa7;
    const std::int64_t units = correction.silence > 0 ? correction.silence : correction.leftOut;
    const std::string counted =
        std::to_string(units) + (lpcm ? " sample" : " frame") + (units == 1 ? "" : "s");
    const std::string action =
        counted + (correction.silence > 0 ? " of silence put in" : " left out");
    return outputClockText(correction.outputTime) + ": " + correction.cause + "; " +
           streamIdText(streamId) + ": " + action + " (" + milliseconds(correction.ticks()) + ")";
}

}  // namespace mpeg
