#pragma once

#include <ctime>

namespace dvdimage {

// The moment the image is made, in UTC, which every time stamp in it records.
struct RecordingTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

inline RecordingTime recordingTimeOf(std::time_t moment) {
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &moment);
#else
    gmtime_r(&moment, &parts);
#endif
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace dvdimage
