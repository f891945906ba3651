#pragma once

#include <string>

class Ttask;

// The words of a task's extra choices. Each setter keeps the other words, known or not, in their
// order.
namespace taskChoices {

// "audio=all": every audio track the multiplexer can take, not only the first AC-3 track.
bool keepsEveryAudioTrack(const Ttask& task);
void setKeepEveryAudioTrack(Ttask& task, bool keep);

// "subtitles=all": every subtitle (subpicture) stream of the source.
bool keepsEverySubtitleStream(const Ttask& task);
void setKeepEverySubtitleStream(Ttask& task, bool keep);

// The file a subtitle stream is written to: the audio path with "s" and the stream's number from
// 1 ("name.ac3" gives "name.s1.spu" for sub-stream 0x20).
std::string subtitleStreamPath(const std::string& ac3FilePath, int streamId);
constexpr int mostSubtitleStreams = 32;

// The file an audio track other than the task's first AC-3 track is written to: the audio path
// with the track's number and its format's extension ("name.ac3" gives "name.2.ac3",
// "name.3.mp2").
std::string audioTrackPath(const std::string& ac3FilePath, int trackNumber,
                           const std::string& extension);

// The extensions of the audio formats that are kept, and the most tracks a DVD title carries:
// together they name every file a task's audio tracks can use.
constexpr const char* audioTrackExtensions[] = {"ac3", "mp2", "lpcm"};
constexpr int mostAudioTracks = 8;

}  // namespace taskChoices
