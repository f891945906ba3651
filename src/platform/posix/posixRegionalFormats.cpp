#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/posixRegionalFormats.h"

namespace platform {

namespace {

// One conversion of a C library date or time format: "%-d", "%Ey", "%OM", "%d".
struct Conversion {
    char letter = 0;
    bool unpadded = false;  // the '-' flag
    std::size_t end = 0;    // just after it
};

Conversion conversionAt(const std::string& format, std::size_t percent) {
    Conversion conversion;
    std::size_t i = percent + 1;
    while (i < format.size() && std::strchr("-_0^#", format[i]) != nullptr) {
        conversion.unpadded = conversion.unpadded || format[i] == '-';
        ++i;
    }
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])) != 0) {
        ++i;  // a field width
    }
    // The E and O modifiers ask for an era or other digits: the plain value serves.
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) {
        ++i;
    }
    if (i < format.size()) {
        conversion.letter = format[i++];
    }
    conversion.end = i;
    return conversion;
}

// The format with its composite conversions (%r, %T, %x...) replaced by what they stand for.
std::string expanded(const std::string& format, locale_t locale, int depth = 0) {
    std::string result;
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            result += format[i++];
            continue;
        }
        const Conversion conversion = conversionAt(format, i);
        std::string replacement;
        switch (conversion.letter) {
            case 'r':
                replacement = nl_langinfo_l(T_FMT_AMPM, locale);
                if (replacement.empty()) {
                    replacement = "%I:%M:%S %p";
                }
                break;
            case 'x':
                replacement = nl_langinfo_l(D_FMT, locale);
                break;
            case 'X':
                replacement = nl_langinfo_l(T_FMT, locale);
                break;
            case 'T':
                replacement = "%H:%M:%S";
                break;
            case 'R':
                replacement = "%H:%M";
                break;
            case 'D':
                replacement = "%m/%d/%y";
                break;
            case 'F':
                replacement = "%Y-%m-%d";
                break;
            default:
                replacement = format.substr(i, conversion.end - i);
                break;
        }
        const bool composite =
            replacement.compare(0, std::string::npos, format, i, conversion.end - i) != 0;
        result += composite && depth < 3 ? expanded(replacement, locale, depth + 1) : replacement;
        i = conversion.end;
    }
    return result;
}

// A time format without seconds (some locales show hours and minutes only) gets them after the
// minutes, with the separator it puts between hours and minutes.
std::string withSeconds(const std::string& format) {
    for (std::size_t i = format.find('%'); i != std::string::npos; i = format.find('%', i)) {
        const Conversion conversion = conversionAt(format, i);
        if (conversion.letter == 'S') {
            return format;
        }
        i = conversion.end;
    }
    std::size_t hourEnd = std::string::npos;
    for (std::size_t i = format.find('%'); i != std::string::npos; i = format.find('%', i)) {
        const Conversion conversion = conversionAt(format, i);
        if (std::strchr("HIkl", conversion.letter) != nullptr) {
            hourEnd = conversion.end;
        } else if (conversion.letter == 'M' && hourEnd != std::string::npos) {
            const std::string separator = format.substr(hourEnd, i - hourEnd);
            return format.substr(0, conversion.end) + separator + "%S" +
                   format.substr(conversion.end);
        }
        i = conversion.end;
    }
    return format;
}

// Where the pattern notation reads a letter as a field, the letter itself must be quoted.
bool isPatternLetter(char c) {
    return std::strchr("dMyhHmsaApPt'", c) != nullptr;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A C library date or time format ("%d/%m/%Y") in the pattern notation the core formats with.
// Time zones are left out; other digits and eras give way to the plain numbers and years.
std::string patternFromStrftime(const std::string& format, locale_t locale, bool isTime) {
    std::string source = expanded(format, locale);
    if (isTime) {
        source = withSeconds(source);
    }
    std::string pattern;
    std::string literal;
    const auto flushLiteral = [&] {
        if (!literal.empty()) {
            pattern += "'" + literal + "'";
            literal.clear();
        }
    };
    // Without its AM and PM texts a 12-hour clock would be ambiguous: the 24-hour clock serves.
    const bool twelveHour =
        *nl_langinfo_l(AM_STR, locale) != '\0' && *nl_langinfo_l(PM_STR, locale) != '\0';
    bool centuryBefore = false;
    for (std::size_t i = 0; i < source.size();) {
        const char c = source[i];
        if (c != '%') {
            if (isPatternLetter(c)) {
                literal += c == '\'' ? std::string("''") : std::string(1, c);
            } else {
                flushLiteral();
                pattern += c;
            }
            ++i;
            continue;
        }
        flushLiteral();
        const Conversion conversion = conversionAt(source, i);
        i = conversion.end;
        const bool century = centuryBefore;
        centuryBefore = conversion.letter == 'C';
        switch (conversion.letter) {
            case 'd':
                pattern += conversion.unpadded ? "d" : "dd";
                break;
            case 'e':
                pattern += "d";
                break;
            case 'm':
                pattern += conversion.unpadded ? "M" : "MM";
                break;
            case 'b':
            case 'h':
                pattern += "MMM";
                break;
            case 'B':
                pattern += "MMMM";
                break;
            case 'a':
                pattern += "ddd";
                break;
            case 'A':
                pattern += "dddd";
                break;
            case 'Y':
                pattern += "yyyy";
                break;
            case 'y':
                pattern += century ? "yyyy" : "yy";  // %C%y is the whole year
                break;
            case 'H':
                pattern += conversion.unpadded ? "H" : "HH";
                break;
            case 'k':
                pattern += "H";
                break;
            case 'I':
                pattern += twelveHour ? (conversion.unpadded ? "h" : "hh") : "HH";
                break;
            case 'l':
                pattern += twelveHour ? "h" : "H";
                break;
            case 'M':
                pattern += "mm";
                break;
            case 'S':
                pattern += "ss";
                break;
            case 'p':
            case 'P':
                pattern += twelveHour ? (conversion.letter == 'p' ? "AP" : "ap") : "";
                break;
            case 'n':
            case 't':
                pattern += ' ';
                break;
            default:
                break;  // parts the log has no use for (time zones, week numbers) are left out
        }
    }
    flushLiteral();
    return trimmed(pattern);
}

}  // namespace

RegionalFormats regionalFormatsOfLocale(const std::string& localeName) {
    RegionalFormats formats;
    locale_t locale = newlocale(LC_ALL_MASK, localeName.c_str(), static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return formats;
    }
    formats.thousandsSeparator = nl_langinfo_l(THOUSEP, locale);
    formats.decimalSeparator = nl_langinfo_l(RADIXCHAR, locale);
    formats.amText = nl_langinfo_l(AM_STR, locale);
    formats.pmText = nl_langinfo_l(PM_STR, locale);
    formats.shortDateFormat = patternFromStrftime(nl_langinfo_l(D_FMT, locale), locale, false);
    formats.longTimeFormat = patternFromStrftime(nl_langinfo_l(T_FMT, locale), locale, true);
    const nl_item shortMonths[] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                   ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
    const nl_item longMonths[] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                  MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    for (std::size_t month = 0; month < 12; ++month) {
        formats.shortMonthNames[month] = nl_langinfo_l(shortMonths[month], locale);
        formats.longMonthNames[month] = nl_langinfo_l(longMonths[month], locale);
    }
    const nl_item shortDays[] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
    const nl_item longDays[] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
    for (std::size_t day = 0; day < 7; ++day) {  // both count from Sunday
        formats.shortDayNames[day] = nl_langinfo_l(shortDays[day], locale);
        formats.longDayNames[day] = nl_langinfo_l(longDays[day], locale);
    }
    freelocale(locale);
    return formats;
}

RegionalFormats systemRegionalFormats() {
    return regionalFormatsOfLocale("");
}

}  // namespace platform
