#pragma once

#include <stdexcept>
#include <string>

// A failure of the runtime that no handler foresees: a file that cannot be created, read or
// written. Its text is what the general error report shows.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that should be a whole number and is not.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The report text for an operating-system error number.
IoError ioErrorFromErrno(int errorNumber);
// The report text for a Windows error code (GetLastError).
IoError ioErrorFromWindowsError(unsigned long errorCode);
