#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The bytes of the IFO files of a DVD with one title, laid out as dvdauthor writes them, for
// stand-ins of the authoring tool and for damaging on purpose.
struct IfoImage {
    int chapters = 1;
    int playbackSeconds = 0;
    int frames = 0;
    bool pal = true;  // the video standard, and the frame rate of the playback time
    // DVD audio coding modes, one per stream: 0 AC-3, 2 MPEG-1, 3 MPEG-2, 4 LPCM, 6 DTS.
    std::vector<int> audioModes{0};
    std::string language;  // two letters for every audio stream, or none
    // The subtitle streams: language, forced captions, and the VOB's stream for each display
    // mode (4:3, wide, letterbox, pan-scan); a stream the chains do not enable has enabled false.
    struct Subtitle {
        std::string language;
        bool forced = false;
        std::array<int, 4> streams{0, 0, 0, 0};
        bool enabled = true;
    };
    std::vector<Subtitle> subtitles;
    // 16:9 with the 4:3 display formats it allows: 0 pan-scan and letterbox, 1 pan-scan,
    // 2 letterbox; a 4:3 title otherwise.
    bool wideScreen = false;
    int displayFormat = 0;
    // One program chain per VOB id, each with a palette of its own: colour i of chain c is
    // palette[i] + c.
    std::vector<int> chainVobIds{1};
    std::array<std::uint32_t, 16> palette{};
};

// VTS_01_0.IFO.
std::string titleSetIfoBytes(const IfoImage& image);
// VIDEO_TS.IFO naming `titles` titles.
std::string videoManagerIfoBytes(int titles);
