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
};

// listing: what the demultiplexer printed for --list, or nullopt when it could not be run.
// keepEveryTrack: the state of the editor's "Keep every audio track" box.
SourceStreamsView viewOfSourceStreams(const std::optional<std::string>& listing,
                                      bool keepEveryTrack);

// Whether a new task for this source keeps every audio track: when it has no AC-3 track, whose
// absence would fail the task, or more than one audio track, which would be lost. A file without
// a video stream is not judged (false).
bool keepEveryTrackByDefault(const std::vector<mpeg::StreamInfo>& streams);

// The same from a source file itself, read in place; false when it cannot be read.
bool keepEveryTrackByDefault(const std::string& sourcePath);
