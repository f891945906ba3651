#pragma once

#include <string>

struct RegionalFormats;

namespace chapters {

// True when text reads as a time of day under the regional settings: optional AM/PM marker first
// or last, hours and minutes, optional seconds with an optional fraction, blanks before any part
// and at the end. Each number reads digits while its value stays below 1000.
bool isTimeOfDay(const std::string& text, const RegionalFormats& formats);

}  // namespace chapters
