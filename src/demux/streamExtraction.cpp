#include "demux/streamExtraction.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "demux/outputFile.h"
#include "demux/unitWriter.h"
#include "mpeg/audioFrames.h"
#include "mpeg/programStream.h"
#include "mpeg/silentFrames.h"
#include "mpeg/videoHeaders.h"

namespace demux {

namespace {

// Bounds on what is held back while the start is being decided: far beyond the first group of
// pictures of any real disc, so that only a stream without usable video reaches them.
constexpr std::size_t videoLookAhead = 64 << 20;
constexpr std::size_t audioLookAhead = 64 << 20;

std::string hexName(int streamId) {
    char name[8];
    std::snprintf(name, sizeof name, "0x%02x", streamId);
    return name;
}

bool isVideoStream(int streamId) {
    return streamId >= 0xe0 && streamId <= 0xef;
}

void appendBytes(std::vector<std::uint8_t>& to, const mpeg::PesPacket& packet) {
    to.insert(to.end(), packet.payload, packet.payload + packet.size);
}

// The video from its first sequence header on. An open first group of pictures gets its broken
// link flag: its leading B-pictures refer to a picture that is not in the output.
class VideoExtraction {
public:
    VideoExtraction(OutputFile& output, ExtractionReport& report)
        : output_(output), report_(report) {}

    void add(const mpeg::PesPacket& packet) {
        if (started_) {
            output_.write(packet.payload, packet.size);
            return;
        }
        const std::size_t offset = head_.size();
        appendBytes(head_, packet);
        if (packet.pts) {
            marks_.push_back({offset, *packet.pts});
        }
        if (mpeg::holdsGroupOrSequenceStart(head_, offset) || head_.size() > videoLookAhead) {
            tryToStart(false);
        }
    }

    void finish() {
        if (!started_) {
            tryToStart(true);
        }
        if (!started_) {
            throw DemuxError("the video stream holds no sequence header");
        }
    }

private:
    void tryToStart(bool atEnd) {
        const auto start = mpeg::findVideoStart(head_, marks_, atEnd);
        if (!start) {
            if (head_.size() > videoLookAhead) {
                // No sequence header in all that: keep only what could begin one.
                report_.bytesPassedOver += head_.size() - 3;
                head_.erase(head_.begin(), head_.end() - 3);
                marks_.clear();
            }
            return;
        }
        if (!start->firstGroup && !atEnd && head_.size() <= videoLookAhead) {
            return;
        }
        if (start->firstGroup && *start->firstGroup + 8 <= head_.size()) {
            std::uint8_t& flags = head_[*start->firstGroup + 7];
            const bool closed = flags & 0x40;
            if (!closed) {
                flags |= 0x20;
            }
        }
        report_.videoStart = start->presentation;
        report_.outputStart = start->presentation;
        report_.bytesPassedOver += start->sequenceHeader;
        output_.write(head_.data() + start->sequenceHeader, head_.size() - start->sequenceHeader);
        head_.clear();
        head_.shrink_to_fit();
        started_ = true;
    }

    OutputFile& output_;
    ExtractionReport& report_;
    std::vector<std::uint8_t> head_;
    std::vector<mpeg::TimeStampMark> marks_;
    bool started_ = false;
};

// Where an audio frame begins in the held-back stream and when it is to be heard.
struct AudioAnchor {
    std::size_t offset = 0;
    std::int64_t pts = 0;
};

// An audio stream from the whole unit closest to the video's start; silence in its own format
// before it when the audio begins after the video.
class AudioExtraction {
public:
    AudioExtraction(OutputFile& output, ExtractionReport& report, mpeg::AudioFormat format)
        : output_(output), report_(report), format_(format) {}

    // A packet of the video that gives the start; returns whether it is still wanted.
    bool addVideo(const mpeg::PesPacket& packet) {
        if (videoKnown_) {
            return false;
        }
        const std::size_t offset = video_.size();
        appendBytes(video_, packet);
        if (packet.pts) {
            videoMarks_.push_back({offset, *packet.pts});
        }
        if (mpeg::holdsGroupOrSequenceStart(video_, offset) || video_.size() > videoLookAhead) {
            const auto start = mpeg::findVideoStart(video_, videoMarks_, false);
            if ((start && start->groupComplete) || video_.size() > videoLookAhead) {
                settleVideo(start);
            }
        }
        return !videoKnown_;
    }

    void addAudio(const mpeg::PesPacket& packet) {
        if (writer_) {
            writer_->feed(packet.payload, packet.size);
            return;
        }
        if (format_ == mpeg::AudioFormat::Lpcm && !lpcm_) {
            lpcm_ = mpeg::readLpcmLayout(packet.lpcmHeader);
        }
        const std::size_t offset = held_.size();
        appendBytes(held_, packet);
        if (packet.pts) {
            if (packet.firstAccessUnit && *packet.firstAccessUnit < packet.size) {
                anchors_.push_back({offset + *packet.firstAccessUnit, *packet.pts});
            } else if (format_ == mpeg::AudioFormat::MpegAudio) {
                anchors_.push_back({offset, *packet.pts});
            }
        }
        const bool heardPastVideo =
            videoKnown_ && (!report_.videoStart ||
                            (!anchors_.empty() && anchors_.back().pts >= *report_.videoStart));
        if (heardPastVideo || held_.size() > audioLookAhead) {
            start();
        }
    }

    void finish() {
        if (!videoKnown_) {
            settleVideo(mpeg::findVideoStart(video_, videoMarks_, true));
        }
        if (!writer_) {
            start();
        }
        writer_->finish();
        report_.unitsLeftOut += writer_->unitsLeftOut();
        report_.bytesPassedOver += writer_->bytesPassedOver();
    }

private:
    void settleVideo(const std::optional<mpeg::VideoStart>& start) {
        videoKnown_ = true;
        if (start) {
            report_.videoStart = start->presentation;
        }
        video_.clear();
        video_.shrink_to_fit();
        videoMarks_.clear();
    }

    // The first anchor at a whole frame, or for MPEG audio the first frame from an anchor's
    // packet on; nullopt when none is found.
    std::optional<AudioAnchor> firstWholeUnit() const {
        for (const AudioAnchor& anchor : anchors_) {
            if (format_ == mpeg::AudioFormat::Lpcm) {
                return anchor;
            }
            for (std::size_t at = anchor.offset; at + mpeg::audioHeaderBytes <= held_.size();
                 ++at) {
                if (isWholeFrame(at)) {
                    return AudioAnchor{at, anchor.pts};
                }
                if (format_ != mpeg::AudioFormat::MpegAudio) {
                    break;  // the pointer names the frame: no search
                }
            }
        }
        return std::nullopt;
    }

    // A valid header whose frame is followed by another valid header, or by the held bytes' end.
    bool isWholeFrame(std::size_t at) const {
        const auto header = mpeg::readAudioFrameHeader(format_, held_.data() + at);
        if (!header) {
            return false;
        }
        const std::size_t next = at + header->length;
        return next + mpeg::audioHeaderBytes > held_.size() ||
               mpeg::readAudioFrameHeader(format_, held_.data() + next).has_value();
    }

    void start() {
        if (held_.empty()) {
            throw DemuxError("the stream holds no audio data");
        }
        const std::optional<AudioAnchor> first = firstWholeUnit();
        std::size_t from = 0;
        std::int64_t leaveOut = 0;
        if (format_ == mpeg::AudioFormat::Lpcm) {
            writer_.emplace(output_, lpcm_->groupBytes);
        } else {
            writer_.emplace(output_, format_);
        }
        if (first) {
            from = first->offset;
            leaveOut = lineUp(*first);
        } else {
            report_.outputStart.reset();
        }
        report_.bytesPassedOver += from;
        writer_->leaveOut(leaveOut);
        writer_->feed(held_.data() + from, held_.size() - from);
        held_.clear();
        held_.shrink_to_fit();
        anchors_.clear();
    }

    // Puts silence before the unit at `first`, or returns how many units to leave out, so that
    // the output begins as close to the video's start as whole units allow.
    std::int64_t lineUp(const AudioAnchor& first) {
        report_.outputStart = first.pts;
        if (!report_.videoStart) {
            return 0;
        }
        const double gap =
            static_cast<double>(*report_.videoStart - first.pts);  // > 0: audio first
        // The length of one unit in ticks: a frame, or an LPCM group of one or two samples.
        double unitTicks = 0;
        if (format_ == mpeg::AudioFormat::Lpcm) {
            const int samplesPerGroup = lpcm_->bitsPerSample == 16 ? 1 : 2;
            unitTicks =
                static_cast<double>(mpeg::ticksPerSecond) * samplesPerGroup / lpcm_->sampleRate;
        } else {
            unitTicks = static_cast<double>(
                mpeg::readAudioFrameHeader(format_, held_.data() + first.offset)->duration);
        }
        const std::int64_t units = std::llround(gap / unitTicks);
        report_.outputStart = first.pts + std::llround(static_cast<double>(units) * unitTicks);
        if (units >= 0) {
            return units;
        }
        addSilence(first, -units);
        return 0;
    }

    void addSilence(const AudioAnchor& first, std::int64_t units) {
        const std::uint8_t* frame = held_.data() + first.offset;
        std::vector<std::uint8_t> silence;
        if (format_ == mpeg::AudioFormat::Lpcm) {
            silence.assign(lpcm_->groupBytes, 0);
        } else if (format_ == mpeg::AudioFormat::Ac3) {
            const auto header = mpeg::readAudioFrameHeader(format_, frame);
            if (auto made = mpeg::silentAc3Frame(frame, header->length)) {
                silence = std::move(*made);
            }
        } else if (format_ == mpeg::AudioFormat::MpegAudio) {
            if (auto made = mpeg::silentMpegAudioFrame(frame)) {
                silence = std::move(*made);
            }
        }
        if (silence.empty()) {
            const auto header = mpeg::readAudioFrameHeader(format_, frame);
            const long long late = header ? units * header->duration / 90 : 0;
            throw DemuxError("the " + std::string(header ? header->codec : "audio") +
                             " stream begins " + std::to_string(late) +
                             " ms after the video, and no silence of its format can be made to "
                             "keep it in step");
        }
        for (std::int64_t i = 0; i < units; ++i) {
            output_.write(silence.data(), silence.size());
        }
        report_.silenceAdded = units;
    }

    OutputFile& output_;
    ExtractionReport& report_;
    mpeg::AudioFormat format_;
    std::optional<mpeg::LpcmLayout> lpcm_;
    std::vector<std::uint8_t> video_;
    std::vector<mpeg::TimeStampMark> videoMarks_;
    bool videoKnown_ = false;
    std::vector<std::uint8_t> held_;
    std::vector<AudioAnchor> anchors_;
    std::optional<UnitWriter> writer_;
};

}  // namespace

ExtractionReport extractStream(const std::string& source, int streamId, const std::string& output) {
    const bool video = isVideoStream(streamId);
    if (!video && !mpeg::audioFormatOfStream(streamId)) {
        throw DemuxError("stream " + hexName(streamId) + " is neither video nor audio");
    }
    std::optional<mpeg::ProgramStreamReader> reader;
    try {
        reader.emplace(source);
    } catch (const std::runtime_error& failure) {
        throw DemuxError(failure.what());
    }
    ExtractionReport report;
    OutputFile file(output);
    bool found = false;
    try {
        if (video) {
            VideoExtraction extraction(file, report);
            reader->read([&](const mpeg::PesPacket& packet) {
                if (packet.streamId == streamId) {
                    found = true;
                    extraction.add(packet);
                }
                return true;
            });
            if (found) {
                extraction.finish();
            }
        } else {
            AudioExtraction extraction(file, report, *mpeg::audioFormatOfStream(streamId));
            bool wantVideo = true;
            reader->read([&](const mpeg::PesPacket& packet) {
                if (packet.streamId == streamId) {
                    found = true;
                    extraction.addAudio(packet);
                } else if (wantVideo && packet.streamId == mpeg::firstVideoStream) {
                    wantVideo = extraction.addVideo(packet);
                }
                return true;
            });
            if (found) {
                extraction.finish();
            }
        }
    } catch (const std::runtime_error& failure) {
        if (dynamic_cast<const DemuxError*>(&failure) != nullptr) {
            throw;
        }
        throw DemuxError(source + ": " + failure.what());
    }
    if (!found) {
        throw DemuxError(source + " holds no stream " + hexName(streamId));
    }
    file.keep();
    report.bytesWritten = file.bytesWritten();
    return report;
}

}  // namespace demux
