#pragma once

#include <string>

// Real DVD-Video material made with ffmpeg: a few seconds of moving test picture with stereo
// AC-3 sound in an MPEG-2 program stream, as a DVD's VOB holds them.
struct VideoStandard {
    const char* name;    // the settings' value
    const char* target;  // ffmpeg's DVD preset
    const char* size;
    const char* rate;
};

extern const VideoStandard palStandard;
extern const VideoStandard ntscStandard;

// True when ffmpeg made the file.
bool makeDvdSource(const VideoStandard& standard, const std::string& path, int seconds = 5);

// Chapters of the title authored in dvdFolder, as dvdunauthor reads them back from its IFO;
// -1 when it cannot be read. workFolder must not exist.
int authoredChapterCount(const std::string& dvdFolder, const std::string& workFolder);
