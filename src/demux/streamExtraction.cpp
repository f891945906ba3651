#include "demux/streamExtraction.h"

#include <cmath>
#include <memory>
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

void reportTrack(const mpeg::TitleOnTimeline& title, const mpeg::TrackOnTimeline& track,
                 ExtractionReport& report) {
    report.videoStart = title.videoStart;
    report.silenceAdded = track.silenceAtStart;
    report.unitsLeftOut = track.leftOutAtStart;
    report.unitsPastVideo = track.unitsPastVideo;
    report.bytesPassedOver = track.bytesPassedOver;
    report.corrections = track.corrections;
    if (title.videoStart && track.startOffset) {
        report.outputStart = *title.videoStart + std::llround(*track.startOffset);
    }
}

// An audio stream placed on the video's timeline; false when the source holds no such stream.
bool extractAudio(const std::string& source, int streamId, OutputFile& file,
                  ExtractionReport& report) {
    const mpeg::TitleOnTimeline title = mpeg::readTitleTimeline(source, {{streamId, &file}});
    reportTrack(title, title.tracks.front(), report);
    return title.tracks.front().found;
}

// The failure under way, as the user is told it: a timeline that makes no sense in its own words,
// a reading failure with the source's name.
[[noreturn]] void rethrowAsDemuxError(const std::string& source) {
    try {
        throw;
    } catch (const mpeg::TimelineError& failure) {
        throw DemuxError(failure.what());
    } catch (const DemuxError&) {
        throw;
    } catch (const std::runtime_error& failure) {
        throw DemuxError(source + ": " + failure.what());
    }
}

enum class OutputKind { Video, Audio, Subtitles };

OutputKind kindOf(int streamId) {
    if (streamId == mpeg::firstVideoStream) {
        return OutputKind::Video;
    }
    if (mpeg::audioFormatOfStream(streamId)) {
        return OutputKind::Audio;
    }
    if (mpeg::isSubpictureStream(streamId)) {
        return OutputKind::Subtitles;
    }
    throw DemuxError("stream " + mpeg::streamIdText(streamId) +
                     " is neither the first video stream, nor audio, nor subtitles");
}

// The outputs of one pass, refused before anything is read when two name one stream or one file.
std::vector<std::unique_ptr<OutputFile>> openOutputs(const std::string& source,
                                                     const std::vector<StreamOutput>& outputs) {
    std::vector<std::unique_ptr<OutputFile>> files;
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        kindOf(outputs[index].streamId);
        for (std::size_t earlier = 0; earlier < index; ++earlier) {
            if (outputs[earlier].streamId == outputs[index].streamId) {
                throw DemuxError("stream " + mpeg::streamIdText(outputs[index].streamId) +
                                 " is asked for twice");
            }
        }
        files.push_back(std::make_unique<OutputFile>(outputs[index].path, source));
        for (std::size_t earlier = 0; earlier < index; ++earlier) {
            if (files[earlier]->place() == files[index]->place()) {
                throw DemuxError(outputs[index].path + ": is the output of two streams");
            }
        }
    }
    return files;
}

}  // namespace

ExtractionReport extractStream(const std::string& source, int streamId, const std::string& output) {
    const bool video = isVideoStream(streamId);
    if (mpeg::isSubpictureStream(streamId)) {
        return extractStreams(source, {{streamId, output}}).front();
    }
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
    } catch (...) {
        rethrowAsDemuxError(source);
    }
    if (!found) {
        throw DemuxError(source + " holds no stream " + mpeg::streamIdText(streamId));
    }
    file.keep();
    report.bytesWritten = file.bytesWritten();
    return report;
}

std::vector<ExtractionReport> extractStreams(const std::string& source,
                                             const std::vector<StreamOutput>& outputs) {
    std::vector<std::unique_ptr<OutputFile>> files = openOutputs(source, outputs);
    std::vector<ExtractionReport> reports(outputs.size());
    std::optional<VideoExtraction> video;
    bool videoFound = false;
    mpeg::TitleRead read;
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        const mpeg::TrackRequest request{outputs[index].streamId, files[index].get()};
        switch (kindOf(outputs[index].streamId)) {
            case OutputKind::Video:
                video.emplace(*files[index], reports[index]);
                read.onVideoPacket = [&](const mpeg::PesPacket& packet) {
                    videoFound = true;
                    video->add(packet);
                };
                break;
            case OutputKind::Audio:
                read.tracks.push_back(request);
                break;
            case OutputKind::Subtitles:
                read.subtitles.push_back(request);
                break;
        }
    }
    mpeg::TitleOnTimeline title;
    try {
        title = mpeg::readTitleTimeline(source, read);
    } catch (...) {
        rethrowAsDemuxError(source);
    }
    std::size_t track = 0;
    std::size_t subtitles = 0;
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        const int streamId = outputs[index].streamId;
        bool found = true;
        ExtractionReport& report = reports[index];
        switch (kindOf(streamId)) {
            case OutputKind::Video:
                found = videoFound;
                if (found) {
                    video->finish();
                }
                break;
            case OutputKind::Audio:
                found = title.tracks[track].found;
                reportTrack(title, title.tracks[track++], report);
                break;
            case OutputKind::Subtitles: {
                const mpeg::SubtitlesOnTimeline& stream = title.subtitles[subtitles++];
                found = stream.found;
                report.videoStart = title.videoStart;
                report.subtitleUnits = stream.units;
                report.subtitleUnitsLeftOut = stream.unitsLeftOut + stream.brokenUnits;
                report.firstSubtitleTime = stream.firstTime;
                break;
            }
        }
        if (!found) {
            throw DemuxError(source + " holds no stream " + mpeg::streamIdText(streamId));
        }
    }
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        files[index]->keep();
        reports[index].bytesWritten = files[index]->bytesWritten();
    }
    return reports;
}

}  // namespace demux
