#pragma once

#include <array>
#include <string>

// The user's regional settings for numbers, dates and times. The window fills it from the
// system's locale; the batch runner and the tests set it themselves. Texts are 8-bit, as the
// files the program writes.
struct RegionalFormats {
    std::string thousandsSeparator = ",";
    std::string decimalSeparator = ".";
    std::string timeSeparator = ":";
    std::string amText = "AM";
    std::string pmText = "PM";
    // Date and time patterns in Qt's notation: d dd ddd dddd M MM MMM MMMM yy yyyy h hh H HH
    // m mm s ss AP ap t, with text between single quotes taken literally.
    std::string shortDateFormat = "dd/MM/yyyy";
    std::string longTimeFormat = "HH:mm:ss";
    // Names for MMM, MMMM (January first) and ddd, dddd (Sunday first).
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};
