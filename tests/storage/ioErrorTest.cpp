#include <gtest/gtest.h>

#include <cerrno>

#include "language/language.h"
#include "storage/ioError.h"

TEST(IoError, SystemErrorTexts) {
    EXPECT_STREQ(ioErrorFromErrno(EACCES).what(), language::fileAccessDenied);
    EXPECT_STREQ(ioErrorFromWindowsError(5).what(), language::fileAccessDenied);
    EXPECT_STREQ(ioErrorFromWindowsError(3).what(), "Erreur E/S 3");
    EXPECT_STREQ(ioErrorFromWindowsError(112).what(), "Erreur E/S 112");
}
