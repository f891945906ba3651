#include <windows.h>

#include "platform/platform.h"
#include "platform/windowsPattern.h"

namespace platform {

namespace {

// One value of the user's locale; the fallback when the system does not give it.
std::string localeText(LCTYPE item, const std::string& fallback) {
    char buffer[128];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : fallback;
}

std::string localePattern(LCTYPE item, const std::string& fallback) {
    const std::string picture = localeText(item, std::string());
    return picture.empty() ? fallback : patternFromWindowsPicture(picture);
}

}  // namespace

RegionalFormats systemRegionalFormats() {
    RegionalFormats formats;
    formats.thousandsSeparator = localeText(LOCALE_STHOUSAND, formats.thousandsSeparator);
    formats.decimalSeparator = localeText(LOCALE_SDECIMAL, formats.decimalSeparator);
    formats.timeSeparator = localeText(LOCALE_STIME, formats.timeSeparator);
    formats.amText = localeText(LOCALE_S1159, formats.amText);
    formats.pmText = localeText(LOCALE_S2359, formats.pmText);
    formats.shortDateFormat = localePattern(LOCALE_SSHORTDATE, formats.shortDateFormat);
    formats.longTimeFormat = localePattern(LOCALE_STIMEFORMAT, formats.longTimeFormat);
    return formats;
}

}  // namespace platform
