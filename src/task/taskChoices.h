#pragma once

#include <cstdint>
#include <optional>
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

// A disc the task's DVD must fit: its name as the task gives it, and what it holds.
struct Disc {
    std::string name;
    std::uint64_t bytes = 0;
};

// The discs that "disc=NAME" names: DVD-5, DVD-9, 8cm, or N whole megabytes of 10^6 bytes as
// "4000MB"; nothing for any other name. Each kind holds what the smaller of its recordable
// formats holds.
std::optional<Disc> discNamed(const std::string& name);
// What follows "disc=" in the task's choices; empty when the task names no disc.
std::string discName(const Ttask& task);
// An empty name removes the word.
void setDiscName(Ttask& task, const std::string& name);

// "iso": a DVD image beside the DVD folder, once the DVD is checked.
bool makesImage(const Ttask& task);
void setMakesImage(Ttask& task, bool make);

// The video a task fitted to its disc multiplexes: the video path with "fitted" ("name.m2v"
// gives "name.fitted.m2v").
std::string fittedVideoPath(const Ttask& task);
// The image beside the DVD folder: "FOLDER.iso".
std::string imagePath(const Ttask& task);

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
