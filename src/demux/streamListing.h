#pragma once

#include <string>

namespace demux {

// The listing of `bbdmux --list`: one line per stream, its fields separated by tabs: id, kind,
// codec, channels, sample rate, first and last time stamp in seconds with three decimals, and
// language; "-" for anything unknown. Throws std::runtime_error when the source cannot be read.
std::string streamListing(const std::string& source);

}  // namespace demux
