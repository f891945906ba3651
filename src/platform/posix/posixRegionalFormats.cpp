#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include "platform/platform.h"

namespace platform {

namespace {

// A C-library date or time format ("%d/%m/%Y") in the pattern notation the core formats with.
std::string patternFromStrftime(const std::string& format) {
    std::string pattern;
    std::string literal;
    const auto flushLiteral = [&] {
        if (!literal.empty()) {
            pattern += "'" + literal + "'";
            literal.clear();
        }
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            if (std::strchr("dMyhHmsaApP'", c) != nullptr) {
                literal += c;
            } else {
                flushLiteral();
                pattern += c;
            }
            continue;
        }
        flushLiteral();
        switch (format[++i]) {
            case 'd':
                pattern += "dd";
                break;
            case 'e':
                pattern += "d";
                break;
            case 'm':
                pattern += "MM";
                break;
            case 'Y':
                pattern += "yyyy";
                break;
            case 'y':
                pattern += "yy";
                break;
            case 'H':
                pattern += "HH";
                break;
            case 'k':
                pattern += "H";
                break;
            case 'I':
                pattern += "hh";
                break;
            case 'l':
                pattern += "h";
                break;
            case 'M':
                pattern += "mm";
                break;
            case 'S':
                pattern += "ss";
                break;
            case 'p':
                pattern += "AP";
                break;
            case 'T':
                pattern += "HH:mm:ss";
                break;
            case 'R':
                pattern += "HH:mm";
                break;
            case 'D':
                pattern += "MM/dd/yy";
                break;
            case 'F':
                pattern += "yyyy-MM-dd";
                break;
            case '%':
                pattern += "%";
                break;
            default:
                break;  // parts the log has no use for (week days, time zones) are left out
        }
    }
    flushLiteral();
    return pattern;
}

}  // namespace

RegionalFormats systemRegionalFormats() {
    RegionalFormats formats;
    locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return formats;
    }
    formats.thousandsSeparator = nl_langinfo_l(THOUSEP, locale);
    formats.decimalSeparator = nl_langinfo_l(RADIXCHAR, locale);
    formats.amText = nl_langinfo_l(AM_STR, locale);
    formats.pmText = nl_langinfo_l(PM_STR, locale);
    formats.shortDateFormat = patternFromStrftime(nl_langinfo_l(D_FMT, locale));
    formats.longTimeFormat = patternFromStrftime(nl_langinfo_l(T_FMT, locale));
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

}  // namespace platform
