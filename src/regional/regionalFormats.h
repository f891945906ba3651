#pragma once

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
    // Date and time patterns in Qt's notation: d dd M MM yy yyyy h hh H HH m mm s ss AP ap,
    // with text between single quotes taken literally.
    std::string shortDateFormat = "dd/MM/yyyy";
    std::string longTimeFormat = "HH:mm:ss";
};
