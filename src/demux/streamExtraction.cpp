#include "demux/streamExtraction.h"

#include <cmath>
#include <vector>

#include "demux/outputFile.h"
#include "mpeg/audioFrames.h"
#include "mpeg/programStream.h"
#include "mpeg/titleTimeline.h"
#include "mpeg/videoHeaders.h"

namespace demux {

namespace {

// A bound on what is held back while the start is being decided: far beyond the first group of
// pictures of any real disc (under a megabyte), so that only a stream without usable video
// reaches it.
constexpr std::size_t videoLookAhead = 8 << 20;

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
        // Each look reads what is held from its start: looking again only once it has doubled
        // keeps the time linear, however many group headers a stream without pictures holds.
        const bool worthALook =
            mpeg::holdsGroupOrSequenceStart(head_, offset) && head_.size() >= 2 * lookedAt_;
        if (worthALook || head_.size() > videoLookAhead) {
            lookedAt_ = head_.size();
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
                lookedAt_ = 0;
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
    std::size_t lookedAt_ = 0;
    bool started_ = false;
};

// An audio stream placed on the video's timeline; false when the source holds no such stream.
bool extractAudio(const std::string& source, int streamId, OutputFile& file,
                  ExtractionReport& report) {
    const mpeg::TitleOnTimeline title = mpeg::readTitleTimeline(source, {{streamId, &file}});
    const mpeg::TrackOnTimeline& track = title.tracks.front();
    report.videoStart = title.videoStart;
    report.silenceAdded = track.silenceAtStart;
    report.unitsLeftOut = track.leftOutAtStart;
    report.unitsPastVideo = track.unitsPastVideo;
    report.bytesPassedOver = track.bytesPassedOver;
    report.corrections = track.corrections;
    if (title.videoStart && track.startOffset) {
        report.outputStart = *title.videoStart + std::llround(*track.startOffset);
    }
    return track.found;
}

}  // namespace

ExtractionReport extractStream(const std::string& source, int streamId, const std::string& output) {
    const bool video = isVideoStream(streamId);
    if (!video && !mpeg::audioFormatOfStream(streamId)) {
        throw DemuxError("stream " + mpeg::streamIdText(streamId) + " is neither video nor audio");
    }
    std::optional<mpeg::ProgramStreamReader> reader;
    try {
        reader.emplace(source);
    } catch (const std::runtime_error& failure) {
        throw DemuxError(failure.what());
    }
    ExtractionReport report;
    OutputFile file(output, source);
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
            reader.reset();
            found = extractAudio(source, streamId, file, report);
        }
    } catch (const mpeg::TimelineError& failure) {
        throw DemuxError(failure.what());
    } catch (const DemuxError&) {
        throw;
    } catch (const std::runtime_error& failure) {
        throw DemuxError(source + ": " + failure.what());
    }
    if (!found) {
        throw DemuxError(source + " holds no stream " + mpeg::streamIdText(streamId));
    }
    file.keep();
    report.bytesWritten = file.bytesWritten();
    return report;
}

}  // namespace demux
