#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mpeg/streamSurvey.h"

// What the task editor tells of a source's streams, from the demultiplexer's listing of them.
struct SourceStreamsView {
    // False when the demultiplexer gave no listing: the editor says it cannot show the streams.
    bool listed = false;
    std::vector<std::string> streamLines;  // one per stream: kind, codec, channels, language
    std::vector<std::string> leftOut;      // what the task will leave out, one line each
    // Said under the list when subtitles are kept without a title set IFO beside the source.
    std::string subtitleWarning;
};

// What the editor's boxes choose.
struct KeptStreamsChoice {
    bool everyAudioTrack = false;      // "Keep every audio track"
    bool everySubtitleStream = false;  // "Keep every subtitle stream"
    bool titleSetIfoBeside = false;    // the source's VTS_nn_0.IFO lies beside it
};

// listing: what the demultiplexer printed for --list, or nullopt when it could not be run.
SourceStreamsView viewOfSourceStreams(const std::optional<std::string>& listing,
                                      const KeptStreamsChoice& choice);

// Whether a new task for this source keeps every audio track: when it has no AC-3 track, whose
// absence would fail the task, or more than one audio track, which would be lost. A file without
// a video stream is not judged (false).
bool keepEveryTrackByDefault(const std::vector<mpeg::StreamInfo>& streams);

// The same from a source file itself, read in place; false when it cannot be read.
bool keepEveryTrackByDefault(const std::string& sourcePath);

// Whether a new task for this source keeps every subtitle stream: when it has one, and the
// title set's IFO that gives their colours lies beside it.
bool keepSubtitlesByDefault(const std::vector<mpeg::StreamInfo>& streams,
                            const std::string& sourcePath);
bool keepSubtitlesByDefault(const std::string& sourcePath);
