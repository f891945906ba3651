#include <gtest/gtest.h>

#include "platform/windowsPattern.h"

using platform::patternFromWindowsPicture;

TEST(WindowsPattern, DatePictures) {
    EXPECT_EQ(patternFromWindowsPicture("dd/MM/yyyy"), "dd/MM/yyyy");
    EXPECT_EQ(patternFromWindowsPicture("M/d/yy"), "M/d/yy");
    EXPECT_EQ(patternFromWindowsPicture("d.M.y"), "d.M.yy");
    EXPECT_EQ(patternFromWindowsPicture("yyyyy-MM-dd"), "yyyy-MM-dd");
    EXPECT_EQ(patternFromWindowsPicture("dddd d MMMM yyyy gg"), " d  yyyy ");
}

TEST(WindowsPattern, TimePictures) {
    EXPECT_EQ(patternFromWindowsPicture("HH:mm:ss"), "HH:mm:ss");
    EXPECT_EQ(patternFromWindowsPicture("h:mm:ss tt"), "h:mm:ss AP");
    EXPECT_EQ(patternFromWindowsPicture("tt hh:mm:ss"), "AP hh:mm:ss");
    EXPECT_EQ(patternFromWindowsPicture("H'h'mm"), "H'h'mm");
    EXPECT_EQ(patternFromWindowsPicture("HH 'o''clock'"), "HH 'o''clock'");
    EXPECT_EQ(patternFromWindowsPicture("HH:mm x"), "HH:mm 'x'");
    EXPECT_EQ(patternFromWindowsPicture(""), "");
}
