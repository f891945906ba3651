#pragma once

#include <optional>
#include <string>
#include <vector>

struct RegionalFormats;

// Chapter points as the authoring tool takes them: entries joined by "," with no trailing comma.
namespace chapters {

// The stored list built from the lines of the chapter box: frame numbers become times, four-part
// times get a decimal point, and entries that are not times of day are dropped.
std::string buildChapterList(const std::vector<std::string>& lines,
                             const std::string& videoStandard, const RegionalFormats& formats);

// The box text for a stored list: one entry per line, lines joined by CR LF.
std::string displayForm(const std::string& chapterList);

// Reads a chapter file and builds its list. Throws IoError when the file cannot be read, has a
// line longer than longestLine, or gives a list longer than that.
std::string importChapterFile(const std::string& path, const std::string& videoStandard,
                              const RegionalFormats& formats);

// Frames per second of a video standard: exactly "PAL" is 25, anything else 29.97.
double framesPerSecond(const std::string& videoStandard);

// A frame count as "hh:nn:ss" of the duration it lasts, cut to whole seconds, hours modulo 24.
std::string frameNumberToTime(double frames, const std::string& videoStandard);

// A floating-point number written with the regional decimal separator, blanks allowed around it.
std::optional<double> parseRegionalNumber(const std::string& text, const RegionalFormats& formats);

}  // namespace chapters
