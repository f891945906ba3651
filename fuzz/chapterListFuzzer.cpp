#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "chapters/chapterList.h"
#include "chapters/timeOfDay.h"
#include "regional/regionalFormats.h"

// The first byte picks the standard and the regional settings, the rest are the chapter box's
// lines. The stored list is one line, and every chapter stored in it is a time of day the
// chapter parser accepts.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    RegionalFormats formats;
    if (choice & 1) {
        formats.timeSeparator = ".";
        formats.decimalSeparator = ",";
    }
    if (choice & 2) {
        formats.amText = "";
        formats.pmText = "p.m.";
    }
    const std::string standard = (choice & 4) ? "PAL" : "NTSC";

    std::vector<std::string> lines(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == '\n') {
            lines.emplace_back();
        } else {
            lines.back().push_back(static_cast<char>(data[i]));
        }
    }
    const std::string list = chapters::buildChapterList(lines, standard, formats);
    if (list.find('\n') != std::string::npos || list.find('\r') != std::string::npos) {
        std::abort();
    }
    // Where the decimal separator is a comma, an entry with a fraction holds a comma of its own:
    // a piece that is no time on its own is then the fraction of the entry before it.
    std::vector<std::string> stored;
    for (std::size_t start = 0, end = 0; !list.empty() && start <= list.size(); start = end + 1) {
        end = list.find(',', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        const std::string piece = list.substr(start, end - start);
        if (!chapters::isTimeOfDay(piece, formats) && formats.decimalSeparator == "," &&
            !stored.empty()) {
            stored.back() += "," + piece;
        } else {
            stored.push_back(piece);
        }
    }
    for (const std::string& chapter : stored) {
        if (!chapters::isTimeOfDay(chapter, formats)) {
            std::abort();
        }
    }
    chapters::displayForm(list);
    for (const std::string& line : lines) {
        chapters::isTimeOfDay(line, formats);
    }
    return 0;
}
