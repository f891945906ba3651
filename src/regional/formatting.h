#pragma once

#include <ctime>
#include <string>

struct RegionalFormats;

namespace formatting {

// The picture "#,###": rounded to a whole number (halves away from zero), digits grouped by
// thousands; no digit is forced, so a value that rounds to 0 gives the empty text.
std::string groupedWhole(double value, const RegionalFormats& formats);

// The picture "##.##": at most two decimals, trailing zero decimals and a bare separator dropped;
// no digit is forced before the separator either.
std::string upToTwoDecimals(double value, const RegionalFormats& formats);

// A date or time in a Qt-style pattern (d dd M MM yy yyyy h hh H HH m mm s ss AP ap, text in
// single quotes literal). Letters of other patterns are copied as they are.
std::string dateTime(const std::string& pattern, const std::tm& moment,
                     const RegionalFormats& formats);

}  // namespace formatting
