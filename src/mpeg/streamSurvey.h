#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mpeg {

enum class StreamKind { Video, Audio, Subpicture };

// What a program stream holds of one stream.
struct StreamInfo {
    int id = 0;  // 0xe0, 0x80 (a private-stream-1 sub-stream), 0xc0, ...
    StreamKind kind = StreamKind::Video;
    std::string codec;      // "mpeg2video", "mpeg1video", "ac3", "dts", "lpcm", "mp2", "mp1",
                            // "subpicture"; empty when unknown
    int channels = 0;       // 0: unknown
    int sampleRate = 0;     // 0: unknown
    int bitRate = 0;        // audio, bits per second; 0: unknown
    int bitsPerSample = 0;  // LPCM only; 0: unknown
    std::optional<double> firstTime;  // seconds, the first and last time stamp seen
    std::optional<double> lastTime;
    std::string language;  // two letters from the title set's IFO; empty when unknown
    // Video only: "PAL" (25 frames per second) or "NTSC" (29.97) from the sequence header, empty
    // when unknown; and the length of one frame in seconds (0: unknown).
    std::string standard;
    double frameSeconds = 0;
    bool wideScreen = false;  // video only: its sequence header says 16:9
};

// The streams of a program stream, in the order DVD players number them: video, then audio
// (AC-3, DTS, LPCM, MPEG audio), then subpictures; each kind by ascending id. Reads the file's
// head and tail only, so that a survey of a large VOB takes a moment. Throws std::runtime_error
// when the file cannot be read.
std::vector<StreamInfo> surveyProgramStream(const std::string& path);

// The same, with the languages that a VTS_nn_0.IFO beside the source gives its audio and
// subpicture streams.
std::vector<StreamInfo> surveyWithLanguages(const std::string& path);

}  // namespace mpeg
