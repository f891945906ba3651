#include "regional/formatting.h"

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
        const char letter = pattern[i];
        std::size_t n = runLength(pattern, i);
        if (letter == '\'') {
            i = appendQuoted(pattern, i, text);
            continue;
        }
        int hour12 = moment.tm_hour % 12;
        if (hour12 == 0) {
            hour12 = 12;
        }
        const int width = n >= 2 ? 2 : 1;
        switch (letter) {
            case 'd':
                if (n >= 3) {
                    n = std::min<std::size_t>(n, 4);
                    const std::size_t day = static_cast<std::size_t>(moment.tm_wday) % 7;
                    text += n == 3 ? formats.shortDayNames[day] : formats.longDayNames[day];
                } else {
                    text += padded(moment.tm_mday, width);
                }
                break;
            case 'M':
                if (n >= 3) {
                    n = std::min<std::size_t>(n, 4);
                    const std::size_t month = static_cast<std::size_t>(moment.tm_mon) % 12;
                    text += n == 3 ? formats.shortMonthNames[month] : formats.longMonthNames[month];
                } else {
                    text += padded(moment.tm_mon + 1, width);
                }
                break;
            case 'y':
                if (n >= 4) {
                    n = 4;
                    text += padded(moment.tm_year + 1900, 4);
                } else {
                    n = 2;
                    text += padded((moment.tm_year + 1900) % 100, 2);
                }
                break;
            case 'h':
                n = std::min<std::size_t>(n, 2);
                text += padded(twelveHour ? hour12 : moment.tm_hour, width);
                break;
            case 'H':
                n = std::min<std::size_t>(n, 2);
                text += padded(moment.tm_hour, width);
                break;
            case 'm':
                n = std::min<std::size_t>(n, 2);
                text += padded(moment.tm_min, width);
                break;
            case 's':
                n = std::min<std::size_t>(n, 2);
                text += padded(moment.tm_sec, width);
                break;
            case 'A':
            case 'a':
                if (i + 1 < pattern.size() && (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) {
                    n = 2;
                    text += moment.tm_hour < 12 ? formats.amText : formats.pmText;
                } else {
                    text.append(n, letter);
                }
                break;
            case 't':
                break;  // the time zone: a log's local times carry none
            default:
                text.append(n, letter);
                break;
        }
        i += n;
    }
    // A dropped time zone leaves the blank that stood before it.
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

}  // namespace formatting
