#pragma once

#include <string>
#include <vector>

// Each subtitle stream (of an IFO, or as authored: anything with a language, a forced flag and
// display modes) as "language forced 4:3/wide/letterbox/pan-scan", -1 where a mode shows none.
template <typename Stream>
std::vector<std::string> subtitleDisplaysText(const std::vector<Stream>& streams) {
    std::vector<std::string> texts;
    for (const Stream& stream : streams) {
        const auto& shown = stream.displays;
        texts.push_back(stream.language + (stream.forcedOnly ? " forced " : " ") +
                        std::to_string(shown.normal) + "/" + std::to_string(shown.wide) + "/" +
                        std::to_string(shown.letterbox) + "/" + std::to_string(shown.panScan));
    }
    return texts;
}
