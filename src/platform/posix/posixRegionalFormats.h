#pragma once

#include <string>

#include "regional/regionalFormats.h"

namespace platform {

// The regional formats of a named C library locale (as "de_DE.UTF-8"); the built-in values when
// the system does not have it.
RegionalFormats regionalFormatsOfLocale(const std::string& localeName);

}  // namespace platform
