#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/ifoSubtitles.h"
#include "runner/plan/audioTracks.h"

class Ttask;

// One subtitle stream that a task keeping every subtitle stream demultiplexes, remultiplexes and
// authors.
struct SubtitleStream {
    int streamId = 0x20;  // a private-stream-1 sub-stream, 0x20 to 0x3f
    std::string path;     // the demultiplexed stream, in mplex's subtitle form
    // What the demultiplexer writes of it, from the source's timeline; nullopt when unknown.
    std::optional<double> expectedKb;
};

// The subtitle streams of a task keeping every one, by ascending stream number: those of the
// source when it can be surveyed; otherwise the stream files that an earlier run left.
std::vector<SubtitleStream> everySubtitleStream(const Ttask& task);

// Sets each stream's expectedKb from one reading of the source along its timeline, which the
// audio tracks' measuring does too; a source that cannot be read leaves them unknown.
void measureSubtitles(std::vector<SubtitleStream>& streams,
                      const std::vector<mpeg::SubtitlesOnTimeline>& measured);

// What the DVD's subtitle streams are: one for each stream of the source's title that the VOB
// carries, with its language, forced flag and display modes, then one for each kept stream that
// the title does not name. Without the title's facts, one for each kept stream.
struct AuthoredSubtitle {
    std::string language;  // two letters, or empty
    bool forcedOnly = false;
    mpeg::SubtitleDisplays displays;  // all -1: the stream's own number, as dvdauthor takes it
    int stream = 0;                   // the VOB's stream number (0 for 0x20)
};
// videoIsWide: what the video's own sequence header says, which is what the authoring tool
// goes by; a title whose IFO says otherwise has its modes moved to the video's.
std::vector<AuthoredSubtitle> authoredSubtitles(const std::vector<SubtitleStream>& kept,
                                                const std::optional<mpeg::TitleSubtitles>& title,
                                                bool videoIsWide);

// Where the title run's control file and palette lie: beside the remultiplexed VOB.
std::string authoringControlPath(const Ttask& task);
std::string authoringPalettePath(const Ttask& task);

// dvdauthor's control file for the title: its audio tracks (none given: dvdauthor finds them),
// the subtitle streams, the palette file (empty: dvdauthor's own) and the VOB with its chapters.
std::string authoringControlFile(const Ttask& task, const std::vector<AudioTrack>& tracks,
                                 const std::vector<AuthoredSubtitle>& subtitles,
                                 const std::string& palettePath);

// The palette file dvdauthor reads: 16 lines of 6 hexadecimal digits, Y Cr Cb.
std::string paletteFileText(const std::array<std::uint32_t, 16>& palette);

// The run log's line for the subtitles given to the title: "Subtitles for the DVD: 2 streams
// (en, de forced), the palette of VTS_01_0.IFO"
std::string subtitleSummary(const std::vector<AuthoredSubtitle>& subtitles,
                            const std::string& ifoPath);
