#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mpeg/ifoReader.h"
#include "mpeg/streamSurvey.h"

// What the remultiplexed VOB shows of itself. What it does not show (no video stream, no time
// stamps, no sequence header, as in a file of zeros) stays unknown and is not compared.
struct VobFacts {
    std::optional<double> videoSeconds;
    std::string standard;                  // empty when unknown
    std::vector<std::string> audioCodecs;  // the survey's names, one per audio stream
    int videoStreams = 0;
};

VobFacts vobFactsOf(const std::vector<mpeg::StreamInfo>& streams);

// The chapter points a stored chapter list asks for; an empty list makes one chapter.
int chapterPointsOf(const std::string& chapterList);

// "DVD checked: 1 title, 3 chapters, 0:00:24, 1 audio track, PAL "; with keptSubtitles (a task
// keeping subtitles), "..., 1 audio track, 2 subtitle streams, PAL ".
std::string dvdSummary(const mpeg::TitleSetInfo& dvd, std::optional<int> keptSubtitles = {});

// One text for each way the authored title falls short of the VOB it was made from, each after
// the path of the VIDEO_TS folder; none when the two agree.
std::vector<std::string> dvdMismatches(const std::string& videoTsFolder,
                                       const mpeg::TitleSetInfo& dvd, const VobFacts& vob,
                                       int chapterPoints, std::optional<int> keptSubtitles = {});

struct DvdCheck {
    std::string summary;  // empty when the title set could not be read
    std::vector<std::string> errors;
};

// Reads back the title set authored into videoTsFolder (its path ends with a separator) and
// compares it with the remultiplexed VOB it was made from, and with the subtitle streams the task
// keeps when it keeps them.
DvdCheck checkAuthoredDvd(const std::string& videoTsFolder, const std::string& vobPath,
                          const std::string& chapterList, std::optional<int> keptSubtitles = {});
