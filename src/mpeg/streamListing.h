#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mpeg/streamSurvey.h"

namespace mpeg {

// The listing that `bbdmux --list` prints: one line per stream, its fields separated by tabs: id,
// kind, codec, channels, sample rate, first and last time stamp in seconds with three decimals,
// language, and bits per sample (LPCM only); "-" for anything unknown.
std::string formatStreamListing(const std::vector<StreamInfo>& streams);

// The streams of such a listing, as far as it tells them; nullopt when the text is no listing
// (a demultiplexer that does not know the option prints something else, or nothing).
std::optional<std::vector<StreamInfo>> parseStreamListing(const std::string& text);

}  // namespace mpeg
