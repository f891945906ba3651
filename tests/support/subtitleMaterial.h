#pragma once

#include <map>
#include <string>
#include <vector>

// A title with subtitles, made as a disc has them: spumux puts each stream's pictures into the
// VOB and dvdauthor authors it with the streams' languages, forced flags and palette, so that
// the folder holds VTS_01_1.VOB and VTS_01_0.IFO side by side, as a ripped disc leaves them.
struct SubtitleStreamSpec {
    std::string language;  // two letters
    bool forcedOnly = false;
    std::vector<double> starts;  // seconds from the video's start; each shown for 0.8 s
};

// source: a VOB as makeSyncSource makes it; palette: 16 colours as RGB, "ff0000", ...; true
// when the tools made the disc in discFolder/VIDEO_TS.
bool makeSubtitledDisc(const std::string& source, const std::string& discFolder,
                       const std::vector<SubtitleStreamSpec>& streams,
                       const std::vector<std::string>& palette);

// When each subtitle of a VOB is shown, in seconds from its video's first picture, by stream id
// (0x20, ...), as ffprobe reads the packets; units that show nothing (of a few bytes) are left
// out.
std::map<int, std::vector<double>> subtitleStartsOf(const std::string& vob,
                                                    const std::string& workFolder);

// What lsdvd (libdvdread) prints of a DVD folder's titles, streams and palette: `lsdvd -x`.
std::string lsdvdView(const std::string& dvdFolder, const std::string& workFolder);
