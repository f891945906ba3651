#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mpeg/audioFrames.h"

class Ttask;

// One audio track that a task's stages demultiplex, remultiplex and author.
struct AudioTrack {
    int streamId = 0x80;  // in the source: a private-stream-1 sub-stream, or an MPEG audio stream
    mpeg::AudioFormat format = mpeg::AudioFormat::Ac3;
    std::string path;      // the demultiplexed stream
    std::string language;  // two letters, or empty
    // What the demultiplexer writes of it, from its bit rate and its length in the source;
    // nullopt when the source does not tell.
    std::optional<double> expectedKb;
};

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
