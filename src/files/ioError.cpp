#include "files/ioError.h"

#include <cerrno>
#include <cstdio>

#include "files/systemEncoding.h"
#include "language/language.h"
#include "language/messageFormat.h"

IoError ioErrorFromErrno(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
        case EROFS:
            return IoError(platform::systemText(language::fileAccessDenied));
        case ENOENT:
            return IoError(language::fileNotFound);
        case ENOSPC:
            return IoError(language::diskFull);
        default:
            return IoError(formatMessage(language::ioErrorNumber, errorNumber));
    }
}

IoError ioErrorFromWindowsError(unsigned long errorCode) {
    constexpr unsigned long accessDenied = 5;  // ERROR_ACCESS_DENIED
    if (errorCode == accessDenied) {
        return IoError(platform::systemText(language::fileAccessDenied));
    }
    return IoError(formatMessage(language::ioErrorNumber, static_cast<int>(errorCode)));
}
