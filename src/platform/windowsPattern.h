#pragma once

#include <string>

namespace platform {

// A Windows date or time picture ("dd/MM/yyyy", "h:mm:ss tt") in the pattern notation the core
// formats with. Day and month names and eras, which the log has no use for, are left out.
std::string patternFromWindowsPicture(const std::string& picture);

}  // namespace platform
