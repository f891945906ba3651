#include <gtest/gtest.h>

#include "chapters/timeOfDay.h"
#include "regional/regionalFormats.h"

using chapters::isTimeOfDay;

TEST(TimeOfDayTest, AcceptsTheCommonForms) {
    const RegionalFormats formats;
    for (const std::string text : {"0:0", "23:59", "1:2:3", "00:05:00", "00:05:00.12",
                                   " 1 : 2 : 3 . 4 ", "00:05:00.999", "0001:02"}) {
        EXPECT_TRUE(isTimeOfDay(text, formats)) << text;
    }
}

TEST(TimeOfDayTest, RejectsWhatIsNoTime) {
    const RegionalFormats formats;
    for (const std::string text : {"", "5", "24:00", "1:60", "1:2:60", "1:2:3.1000", "1:", ":1",
                                   "1:2:", "1:2.5", "1:2:3x", "1234:00", "1:2:3:4", "-1:2"}) {
        EXPECT_FALSE(isTimeOfDay(text, formats)) << text;
    }
}

TEST(TimeOfDayTest, MarkersFirstOrLastAndInAnyCase) {
    RegionalFormats formats;
    formats.amText = "matin";
    formats.pmText = "soir";
    for (const std::string text :
         {"AM 1:00", "1:00 pm", "12:30:00 Pm", "MATIN 11:00", "10:00 soir"}) {
        EXPECT_TRUE(isTimeOfDay(text, formats)) << text;
    }
    for (const std::string text : {"0:00 AM", "13:00 PM", "AM 1:00 PM", "1:00 midi"}) {
        EXPECT_FALSE(isTimeOfDay(text, formats)) << text;
    }
    formats.amText.clear();
    // An empty marker text is no marker: 13:00 stays a valid afternoon hour.
    EXPECT_TRUE(isTimeOfDay("13:00", formats));
}

TEST(TimeOfDayTest, FollowsTheRegionalSeparators) {
    RegionalFormats formats;
    formats.timeSeparator = ".";
    formats.decimalSeparator = ",";
    EXPECT_TRUE(isTimeOfDay("12.30.15,5", formats));
    EXPECT_FALSE(isTimeOfDay("12:30:15", formats));
    EXPECT_FALSE(isTimeOfDay("12.30.15.5", formats));
}
