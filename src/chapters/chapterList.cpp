#include "chapters/chapterList.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "chapters/timeOfDay.h"
#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "regional/regionalFormats.h"

namespace chapters {

namespace {

constexpr std::size_t fourPartColumn = 8;  // 0-based position of the last ":" in hh:mm:ss:ff

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(const std::string& text, std::size_t position) {
    while (position < text.size() && isDigit(text[position])) {
        ++position;
    }
    return position;
}

std::string convertedEntry(std::string line, const std::string& videoStandard,
                           const RegionalFormats& formats) {
    if (line.find(':') == std::string::npos) {
        if (const std::optional<double> frames = parseRegionalNumber(line, formats)) {
            line = frameNumberToTime(*frames, videoStandard);
        }
    }
    if (line.rfind(':') == fourPartColumn) {
        line = line.substr(0, fourPartColumn) + "." + line.substr(fourPartColumn + 1);
    }
    return line;
}

// Adds the line's entry and a "," to the list when it is a time of day.
void appendEntry(std::string& list, const std::string& line, const std::string& videoStandard,
                 const RegionalFormats& formats) {
    const std::string entry = convertedEntry(line, videoStandard, formats);
    if (isTimeOfDay(entry, formats)) {
        list.append(entry).append(",");
    }
}

void dropLastComma(std::string& list) {
    const std::size_t lastComma = list.rfind(',');
    if (lastComma != std::string::npos) {
        list.erase(lastComma);
    }
}

}  // namespace

double framesPerSecond(const std::string& videoStandard) {
    return videoStandard == "PAL" ? 25.0 : 29.97;
}

std::string frameNumberToTime(double frames, const std::string& videoStandard) {
    const double exactSeconds = std::fabs(frames) / framesPerSecond(videoStandard);
    // Rounded to the millisecond first, so 1799 NTSC frames (60.027 s) give a whole minute.
    // A frame number near the largest double would overflow in milliseconds; at that size a
    // double holds no fraction of a second anyway.
    const double milliseconds = exactSeconds * 1000;
    const double wholeSeconds = std::isfinite(milliseconds)
                                    ? std::floor(std::round(milliseconds) / 1000)
                                    : std::floor(exactSeconds);
    const double secondsOfDay = std::fmod(wholeSeconds, 86400.0);
    const int seconds = static_cast<int>(secondsOfDay);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

std::optional<double> parseRegionalNumber(const std::string& text, const RegionalFormats& formats) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    // Rebuilt in the C notation that from_chars reads, checking the regional syntax on the way.
    std::string plain;
    std::size_t position = begin;
    if (position < end && (text[position] == '+' || text[position] == '-')) {
        plain += text[position++];
    }
    std::size_t digitsEnd = skipDigits(text, position);
    bool hasDigits = digitsEnd > position;
    plain += text.substr(position, digitsEnd - position);
    position = digitsEnd;
    const std::string& separator = formats.decimalSeparator;
    if (!separator.empty() && text.compare(position, separator.size(), separator) == 0 &&
        position + separator.size() <= end) {
        position += separator.size();
        digitsEnd = skipDigits(text, position);
        hasDigits = hasDigits || digitsEnd > position;
        plain += "." + text.substr(position, digitsEnd - position);
        position = digitsEnd;
    }
    if (!hasDigits) {
        return std::nullopt;
    }
    if (position < end && (text[position] == 'e' || text[position] == 'E')) {
        plain += 'e';
        ++position;
        if (position < end && (text[position] == '+' || text[position] == '-')) {
            plain += text[position++];
        }
        digitsEnd = skipDigits(text, position);
        if (digitsEnd == position) {
            return std::nullopt;
        }
        plain += text.substr(position, digitsEnd - position);
        position = digitsEnd;
    }
    if (position != end) {
        return std::nullopt;
    }
    double value = 0;
    const char* first = plain.data();
    if (*first == '+') {
        ++first;
    }
    const std::from_chars_result result =
        std::from_chars(first, plain.data() + plain.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string buildChapterList(const std::vector<std::string>& lines,
                             const std::string& videoStandard, const RegionalFormats& formats) {
    std::string list;
    for (const std::string& line : lines) {
        appendEntry(list, line, videoStandard, formats);
    }
    dropLastComma(list);
    return list;
}

std::string displayForm(const std::string& chapterList) {
    std::string text;
    for (const char c : chapterList) {
        if (c == ',') {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return text;
}

std::string importChapterFile(const std::string& path, const std::string& videoStandard,
                              const RegionalFormats& formats) {
    // Entry by entry, so that a file of many short lines costs no more than the list it gives.
    TextLineReader reader(path);
    std::string list;
    std::string line;
    while (reader.readBoundedLine(line)) {
        appendEntry(list, line, videoStandard, formats);
        // The list is one line of a project file, which could not be read back.
        if (list.size() > longestLine + 1) {
            throw IoError(path + language::chapterListTooLong);
        }
    }
    dropLastComma(list);
    return list;
}

}  // namespace chapters
