#include "editing/sourceStreams.h"

#include <stdexcept>

#include "language/language.h"
#include "language/messageFormat.h"
#include "mpeg/ifoReader.h"
#include "mpeg/keptAudio.h"
#include "mpeg/programStream.h"
#include "mpeg/streamListing.h"

namespace {

const char* kindText(mpeg::StreamKind kind) {
    switch (kind) {
        case mpeg::StreamKind::Video:
            return language::streamKindVideo;
        case mpeg::StreamKind::Audio:
            return language::streamKindAudio;
        case mpeg::StreamKind::Subpicture:
            break;
    }
    return language::streamKindSubtitle;
}

// Its id first: two tracks of one format and language are told apart by it.
std::string lineOf(const mpeg::StreamInfo& stream) {
    std::string line = mpeg::streamIdText(stream.id) + "   " + kindText(stream.kind);
    if (stream.kind != mpeg::StreamKind::Subpicture && !stream.codec.empty()) {
        line += "   " + stream.codec;
    }
    if (stream.channels > 0) {
        line += "   " + formatMessage(language::streamChannels, stream.channels);
    }
    if (!stream.language.empty()) {
        line += "   " + stream.language;
    }
    return line;
}

bool isFirstAc3(const mpeg::StreamInfo& stream, const std::vector<mpeg::StreamInfo>& streams) {
    for (const mpeg::StreamInfo& other : streams) {
        if (other.id >= 0x80 && other.id <= 0x87) {
            return other.id == stream.id;
        }
    }
    return false;
}

bool holdsSubtitles(const std::vector<mpeg::StreamInfo>& streams) {
    for (const mpeg::StreamInfo& stream : streams) {
        if (stream.kind == mpeg::StreamKind::Subpicture) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> leftOutOf(const std::vector<mpeg::StreamInfo>& streams,
                                   const KeptStreamsChoice& choice) {
    const bool keepEveryTrack = choice.everyAudioTrack;
    std::vector<std::string> lines;
    int subtitles = 0;
    for (const mpeg::StreamInfo& stream : streams) {
        if (stream.kind == mpeg::StreamKind::Subpicture) {
            ++subtitles;
        } else if (stream.kind == mpeg::StreamKind::Audio) {
            if (!mpeg::multiplexerTakes(stream)) {
                lines.push_back(lineOf(stream) + language::streamLeftOutUntakeable);
            } else if (!keepEveryTrack && !isFirstAc3(stream, streams)) {
                lines.push_back(lineOf(stream) + language::streamLeftOutNotFirstAc3);
            }
        }
    }
    if (subtitles > 0 && !choice.everySubtitleStream) {
        lines.push_back(formatMessage(language::subtitlesLeftOut, subtitles));
    }
    return lines;
}

}  // namespace

SourceStreamsView viewOfSourceStreams(const std::optional<std::string>& listing,
                                      const KeptStreamsChoice& choice) {
    SourceStreamsView view;
    const auto streams = listing ? mpeg::parseStreamListing(*listing) : std::nullopt;
    if (!streams) {
        return view;
    }
    view.listed = true;
    for (const mpeg::StreamInfo& stream : *streams) {
        view.streamLines.push_back(lineOf(stream));
    }
    view.leftOut = leftOutOf(*streams, choice);
    if (choice.everySubtitleStream && !choice.titleSetIfoBeside && holdsSubtitles(*streams)) {
        view.subtitleWarning = language::subtitlesWithoutIfo;
    }
    return view;
}

bool keepEveryTrackByDefault(const std::vector<mpeg::StreamInfo>& streams) {
    int audioTracks = 0;
    bool hasAc3 = false;
    bool hasVideo = false;
    for (const mpeg::StreamInfo& stream : streams) {
        if (stream.kind == mpeg::StreamKind::Audio) {
            ++audioTracks;
            hasAc3 = hasAc3 || (stream.id >= 0x80 && stream.id <= 0x87);
        }
        hasVideo = hasVideo || stream.kind == mpeg::StreamKind::Video;
    }
    // A file that shows no video is no source to judge: it keeps the usual choice.
    return hasVideo && (!hasAc3 || audioTracks > 1);
}

bool keepEveryTrackByDefault(const std::string& sourcePath) {
    try {
        return keepEveryTrackByDefault(mpeg::surveyWithLanguages(sourcePath));
    } catch (const std::runtime_error&) {
        return false;
    }
}

bool keepSubtitlesByDefault(const std::vector<mpeg::StreamInfo>& streams,
                            const std::string& sourcePath) {
    return holdsSubtitles(streams) && !mpeg::titleSetIfoBeside(sourcePath).empty();
}

bool keepSubtitlesByDefault(const std::string& sourcePath) {
    try {
        return keepSubtitlesByDefault(mpeg::surveyProgramStream(sourcePath), sourcePath);
    } catch (const std::runtime_error&) {
        return false;
    }
}
