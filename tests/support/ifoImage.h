#pragma once

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
};

// VTS_01_0.IFO.
std::string titleSetIfoBytes(const IfoImage& image);
// VIDEO_TS.IFO naming `titles` titles.
std::string videoManagerIfoBytes(int titles);
