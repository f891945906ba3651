#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mpeg/audioFrames.h"
#include "mpeg/titleTimeline.h"

class Ttask;

// One audio track that a task's stages demultiplex, remultiplex and author.
struct AudioTrack {
    int streamId = 0x80;  // in the source: a private-stream-1 sub-stream, or an MPEG audio stream
    mpeg::AudioFormat format = mpeg::AudioFormat::Ac3;
    std::string path;      // the demultiplexed stream
    std::string language;  // two letters, or empty
    // What the demultiplexer writes of it: its bit rate times its length on the source's
    // timeline; nullopt when the source does not tell.
    std::optional<double> expectedKb;
};

// What reading a task's source along its timeline tells the runner before the demultiplexing.
struct SourceTimeline {
    bool read = false;
    // What the source's audio streams that the task leaves out take of it.
    double leftOutAudioKb = 0;
    // Where the kept tracks are kept in step after their start.
    std::vector<mpeg::AudioCorrection> corrections;
    // The subtitle streams asked for, as the demultiplexer writes them.
    std::vector<mpeg::SubtitlesOnTimeline> subtitles;
};

// Reads the source once along its timeline: sets each track's expectedKb to what the
// demultiplexer writes of it, and measures the audio the task leaves out and the subtitle streams
// asked for. A source that cannot be read leaves every track as it was.
SourceTimeline measureOnTimeline(std::vector<AudioTrack>& tracks, const std::string& sourcePath,
                                 const std::vector<int>& subtitleStreamIds = {});

// The run log's line for where the tracks were kept in step, "Audio kept in step at 2 places
// (the largest 288 ms)"; empty when nothing was corrected.
std::string keptInStepSummary(const std::vector<mpeg::AudioCorrection>& corrections);

// The one track of a task that keeps only its first AC-3 track.
AudioTrack firstAc3Track(const Ttask& task);

// The tracks of a task that keeps every audio track, in the order they are multiplexed. They
// come from the source when it can be read; otherwise, for the remultiplexing, from the stream
// files that an earlier run left; otherwise, for the authoring alone, from the remultiplexed VOB.
std::vector<AudioTrack> everyAudioTrack(const Ttask& task);

// The file extension of a format's demultiplexed stream: the multiplexer tells the formats apart
// by it.
const char* streamFileExtension(mpeg::AudioFormat format);

// dvdauthor's audio list for the title: "ac3+en,mp2,lpcm+de".
std::string authoringAudioList(const std::vector<AudioTrack>& tracks);
