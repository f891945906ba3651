#include <gtest/gtest.h>

#include <cerrno>

#include "files/ioError.h"
#include "platform/platform.h"

TEST(IoError, SystemErrorTexts) {
    // In the system's 8-bit code page, as the paths it is shown with.
    const std::string accessDenied = platform::systemText("Acc\xc3\xa8s au fichier refus\xc3\xa9");
    EXPECT_EQ(ioErrorFromErrno(EACCES).what(), accessDenied);
    EXPECT_EQ(ioErrorFromWindowsError(5).what(), accessDenied);
    EXPECT_STREQ(ioErrorFromWindowsError(3).what(), "Erreur E/S 3");
    EXPECT_STREQ(ioErrorFromWindowsError(112).what(), "Erreur E/S 112");
}
