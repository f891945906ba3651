#pragma once

#include <vector>

#include "mpeg/streamSurvey.h"

namespace mpeg {

// Whether the multiplexer can take an audio stream as it comes out of the demultiplexer: AC-3,
// MPEG audio, and LPCM at 48 kHz, 2 channels and 16 bits (for any other LPCM it would need
// parameters of its own; DTS it does not take at all).
bool multiplexerTakes(const StreamInfo& stream);

// The audio streams of a survey that a task keeping every track keeps, in the order of the DVD's
// audio stream numbers (the low three bits of the id, which a disc gives each track once), and
// for streams of equal number AC-3 first, then MPEG audio, then LPCM.
std::vector<StreamInfo> keptAudioStreams(const std::vector<StreamInfo>& streams);

}  // namespace mpeg
