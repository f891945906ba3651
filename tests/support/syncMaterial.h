#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// DVD-Video material whose audio/video sync can be measured as a viewer notices it: a black PAL
// picture with one white frame every 2 s from 1 s on, and one silent stereo track per codec given
// ("ac3", "mp2") with a 40 ms 1 kHz beep at the same instants. The picture's noise sets its bit
// rate. True when ffmpeg made the file.
bool makeSyncSource(const std::string& path, int seconds,
                    const std::vector<std::string>& audioCodecs = {"ac3"}, int noise = 6);

// One piece of a title, as makeSyncSource makes it: its audio may be longer or shorter than its
// video, its time stamps may lie far from the usual start (ffmpeg's multiplexer puts any start
// beyond 4295 s there), and its video may have a bit rate of its own (kbit/s; 0: the DVD
// target's).
struct SyncPiece {
    double videoSeconds = 6;
    double audioSeconds = 6;
    bool farStart = false;
    int videoKbps = 0;
};
bool makeSyncPiece(const std::string& path, const SyncPiece& piece);

// The files one after the other, as a title ripped to one VOB holds its pieces.
bool concatenate(const std::vector<std::string>& files, const std::string& joined);

// A copy of source whose audio packets heard from `fromSeconds` to `toSeconds` (of its own time
// stamps) are padding: a dropout in the audio while the video runs on.
bool dropAudio(const std::string& source, const std::string& holed, double fromSeconds,
               double toSeconds);

// A copy of source whose audio time stamps lie `seconds` later, the packets where they were: a
// hostile source that ffmpeg's multiplexer cannot make (it keeps its stamps under 4295 s).
bool delayAudio(const std::string& source, const std::string& delayed, double seconds);

// A copy of source whose audio time stamps are moved by offsetSeconds (positive: later) against
// the video's, the samples themselves untouched.
bool shiftAudio(const std::string& source, const std::string& shifted, double offsetSeconds);

// A copy of source from its 2048-byte sector `sector` on, as a VOB that begins mid-title.
bool cutAtSector(const std::string& source, const std::string& cut, std::uintmax_t sector);

// Start times in seconds of a VOB's first video and first audio stream, as ffprobe reads them.
struct StreamStarts {
    bool read = false;
    double video = 0;
    double audio = 0;
};
StreamStarts streamStarts(const std::string& vob, const std::string& workFolder);

// The sync of a VOB made of makeSyncSource's material, from the container's time stamps.
struct SyncMeasurement {
    int pairs = 0;            // flashes with a beep within a second; under 3, nothing was measured
    double offsetMs = 0;      // median of beep time minus flash time: positive when sound is late
    double videoSeconds = 0;  // from the first decoded frame to the last
    // Each flash that had a beep within a second: its time from the first frame, the beep's
    // offset in ms.
    std::vector<std::pair<double, double>> flashes;
};
// workFolder must not exist; it is removed again.
// audioTrack counts the VOB's audio streams from 0.
SyncMeasurement measureSync(const std::string& vob, const std::string& workFolder,
                            int audioTrack = 0);
