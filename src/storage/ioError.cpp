#include "storage/ioError.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "language/language.h"
#include "platform/platform.h"

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

std::string formatMessage(const char* format, const std::string& argument) {
    std::string text(format);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

std::string formatMessage(const char* format, int argument) {
    std::string text(format);
    const std::size_t at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(argument));
    }
    return text;
}
