#include <gtest/gtest.h>

#include "regional/formatting.h"
#include "regional/regionalFormats.h"

namespace {

RegionalFormats french() {
    RegionalFormats formats;
    formats.thousandsSeparator = "\xc2\xa0";  // no-break space
    formats.decimalSeparator = ",";
    return formats;
}

}  // namespace

TEST(Formatting, GroupedWholeNumbers) {
    const RegionalFormats english;
    EXPECT_EQ(formatting::groupedWhole(976.5625, english), "977");
    EXPECT_EQ(formatting::groupedWhole(2000, english), "2,000");
    EXPECT_EQ(formatting::groupedWhole(1234567.49, english), "1,234,567");
    EXPECT_EQ(formatting::groupedWhole(999.5, english), "1,000");
    EXPECT_EQ(formatting::groupedWhole(0.49, english), "");
    EXPECT_EQ(formatting::groupedWhole(5.0 * 1024 * 1024 * 1024, french()),
              "5\xc2\xa0"
              "368\xc2\xa0"
              "709\xc2\xa0"
              "120");
}

TEST(Formatting, UpToTwoDecimals) {
    const RegionalFormats english;
    EXPECT_EQ(formatting::upToTwoDecimals(60, english), "60");
    EXPECT_EQ(formatting::upToTwoDecimals(5, english), "5");
    EXPECT_EQ(formatting::upToTwoDecimals(12.5, english), "12.5");
    EXPECT_EQ(formatting::upToTwoDecimals(12.345, french()), "12,35");
    EXPECT_EQ(formatting::upToTwoDecimals(0.5, english), ".5");
    EXPECT_EQ(formatting::upToTwoDecimals(7.001, english), "7");
    EXPECT_EQ(formatting::upToTwoDecimals(0, english), "");
}

TEST(Formatting, DatesAndTimesInRegionalPatterns) {
    std::tm moment{};
    moment.tm_year = 2026 - 1900;
    moment.tm_mon = 11;
    moment.tm_mday = 6;
    moment.tm_hour = 21;
    moment.tm_min = 3;
    moment.tm_sec = 5;
    RegionalFormats formats;
    formats.pmText = "p.m.";
    EXPECT_EQ(formatting::dateTime("dd/MM/yyyy", moment, formats), "06/12/2026");
    EXPECT_EQ(formatting::dateTime("M/d/yy", moment, formats), "12/6/26");
    EXPECT_EQ(formatting::dateTime("HH:mm:ss", moment, formats), "21:03:05");
    EXPECT_EQ(formatting::dateTime("h:mm:ss AP", moment, formats), "9:03:05 p.m.");
    EXPECT_EQ(formatting::dateTime("H'h'mm 'o''clock'", moment, formats), "21h03 o'clock");
    EXPECT_EQ(formatting::dateTime("yyyy-MM-dd", moment, formats), "2026-12-06");
    // Month and day names from the regional settings; the time zone is left out.
    moment.tm_wday = 0;
    formats.shortMonthNames[11] =
        "d\xc3\xa9"
        "c.";
    EXPECT_EQ(formatting::dateTime("d MMM yyyy", moment, formats),
              "6 d\xc3\xa9"
              "c. 2026");
    EXPECT_EQ(formatting::dateTime("dddd d MMMM", moment, formats), "Sunday 6 December");
    EXPECT_EQ(formatting::dateTime("HH:mm:ss t", moment, formats), "21:03:05");
}
