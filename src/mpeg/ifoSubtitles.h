#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/ifoReader.h"

namespace mpeg {

// Which subpicture stream of the VOB (0 to 31, sub-stream 0x20 + n) a DVD subtitle stream shows in
// each display mode; -1 where the title names none. A 4:3 title uses `normal` only; a 16:9 one
// `wide`, `letterbox` and `panScan`.
struct SubtitleDisplays {
    int normal = -1;
    int wide = -1;
    int letterbox = -1;
    int panScan = -1;
};

// One subtitle stream as the title set and its program chain describe it.
struct IfoSubtitleStream {
    std::string language;     // two letters; empty when the stream names none
    bool forcedOnly = false;  // the language extension says "forced captions"
    SubtitleDisplays displays;
};

// What a title needs so that its subtitles show as on the source disc.
struct TitleSubtitles {
    std::vector<IfoSubtitleStream> streams;  // in the DVD's order; only those the chain enables
    // The program chain's 16 colours, each 0x00YYCrCb as the IFO stores them.
    std::array<std::uint32_t, 16> palette{};
    bool wideScreen = false;  // the title set's video is 16:9
    int programChain = 0;     // the chain they were read from, from 1
};

// Reads a VTS_nn_0.IFO's subtitle facts from its bytes. The program chain is the first whose
// cells lie in the VOB with id `vobId`; the first chain when no id is given or none holds it.
// Throws IfoError.
TitleSubtitles parseTitleSubtitles(const std::uint8_t* data, std::size_t size,
                                   std::optional<int> vobId);

// The VOB id that the first NAV pack of a VOB names; nullopt when it has none (a VOB that no
// authoring tool made, or one cut mid-way before its first NAV pack is read in 4 MiB).
std::optional<int> firstVobId(const std::string& vobPath);

// What the title set's IFO beside a VOB (titleSetIfoBeside) says, read once: the title set, and
// the subtitles of the title the VOB belongs to.
struct SourceTitleSet {
    std::string ifoPath;
    TitleSetInfo info;
    TitleSubtitles subtitles;
};
// nullopt when no IFO lies beside the VOB or it cannot be read.
std::optional<SourceTitleSet> titleSetOfSource(const std::string& vobPath);

}  // namespace mpeg
