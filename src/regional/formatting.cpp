#include "regional/formatting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "regional/regionalFormats.h"

namespace formatting {

namespace {

std::string withThousands(const std::string& digits, const std::string& separator) {
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string padded(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

// Length of the run of `letter` at position i.
std::size_t runLength(const std::string& pattern, std::size_t i) {
    std::size_t n = 1;
    while (i + n < pattern.size() && pattern[i + n] == pattern[i]) {
        ++n;
    }
    return n;
}

// Text between single quotes is literal, '' standing for one quote inside or outside them.
// Returns the position after the quoted part.
std::size_t appendQuoted(const std::string& pattern, std::size_t open, std::string& text) {
    if (open + 1 < pattern.size() && pattern[open + 1] == '\'') {
        text += '\'';
        return open + 2;
    }
    std::size_t i = open + 1;
    for (; i < pattern.size(); ++i) {
        if (pattern[i] != '\'') {
            text += pattern[i];
        } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            text += '\'';
            ++i;
        } else {
            return i + 1;
        }
    }
    return i;
}

bool patternHasAmPm(const std::string& pattern) {
    return pattern.find("AP") != std::string::npos || pattern.find("ap") != std::string::npos;
}

// A field of at most two letters: one letter gives the number as it is, two pad it to two digits.
std::size_t appendNumber(std::size_t n, int value, std::string& text) {
    n = std::min<std::size_t>(n, 2);
    text += padded(value, static_cast<int>(n));
    return n;
}

// d dd ddd dddd and M MM MMM MMMM: the number, or from three letters on the short or long name.
template <std::size_t N>
std::size_t appendNumberOrName(std::size_t n, int number, int nameIndex,
                               const std::array<std::string, N>& shortNames,
                               const std::array<std::string, N>& longNames, std::string& text) {
    if (n < 3) {
        return appendNumber(n, number, text);
    }
    n = std::min<std::size_t>(n, 4);
    const std::size_t index = static_cast<std::size_t>(nameIndex) % N;
    text += n == 3 ? shortNames[index] : longNames[index];
    return n;
}

// yy and yyyy; a single y or three of them count as yy.
std::size_t appendYear(std::size_t n, int year, std::string& text) {
    if (n >= 4) {
        text += padded(year, 4);
        return 4;
    }
    text += padded(year % 100, 2);
    return 2;
}

int twelveHourClock(int hour) {
    return hour % 12 == 0 ? 12 : hour % 12;
}

// Appends the field that the run of letters at position i of the pattern stands for, or the
// letters themselves when they stand for none. Returns the number of letters used.
std::size_t appendField(const std::string& pattern, std::size_t i, const std::tm& moment,
                        const RegionalFormats& formats, bool twelveHour, std::string& text) {
    const char letter = pattern[i];
    const std::size_t n = runLength(pattern, i);
    switch (letter) {
        case 'd':
            return appendNumberOrName(n, moment.tm_mday, moment.tm_wday, formats.shortDayNames,
                                      formats.longDayNames, text);
        case 'M':
            return appendNumberOrName(n, moment.tm_mon + 1, moment.tm_mon, formats.shortMonthNames,
                                      formats.longMonthNames, text);
        case 'y':
            return appendYear(n, moment.tm_year + 1900, text);
        case 'h':
            return appendNumber(n, twelveHour ? twelveHourClock(moment.tm_hour) : moment.tm_hour,
                                text);
        case 'H':
            return appendNumber(n, moment.tm_hour, text);
        case 'm':
            return appendNumber(n, moment.tm_min, text);
        case 's':
            return appendNumber(n, moment.tm_sec, text);
        case 'A':
        case 'a':
            if (i + 1 < pattern.size() && (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) {
                text += moment.tm_hour < 12 ? formats.amText : formats.pmText;
                return 2;
            }
            break;
        case 't':
            return n;  // the time zone: a log's local times carry none
        default:
            break;
    }
    text.append(n, letter);
    return n;
}

}  // namespace

std::string groupedWhole(double value, const RegionalFormats& formats) {
    const double rounded = std::round(value);
    if (rounded == 0 || !std::isfinite(rounded)) {
        return std::string();
    }
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.0f", std::fabs(rounded));
    return (rounded < 0 ? "-" : "") + withThousands(digits, formats.thousandsSeparator);
}

std::string upToTwoDecimals(double value, const RegionalFormats& formats) {
    const long long hundredths = std::llround(value * 100);
    if (hundredths == 0) {
        return std::string();
    }
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    std::string text = hundredths < 0 ? "-" : "";
    if (magnitude >= 100) {
        text += std::to_string(magnitude / 100);
    }
    const long long decimals = magnitude % 100;
    if (decimals != 0) {
        text += formats.decimalSeparator;
        text += std::to_string(decimals / 10);
        if (decimals % 10 != 0) {
            text += std::to_string(decimals % 10);
        }
    }
    return text;
}

std::string dateTime(const std::string& pattern, const std::tm& moment,
                     const RegionalFormats& formats) {
    const bool twelveHour = patternHasAmPm(pattern);
    std::string text;
    for (std::size_t i = 0; i < pattern.size();) {
        i = pattern[i] == '\'' ? appendQuoted(pattern, i, text)
                               : i + appendField(pattern, i, moment, formats, twelveHour, text);
    }
    // A dropped time zone leaves the blank that stood before it.
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

}  // namespace formatting
