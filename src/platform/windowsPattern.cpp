#include "platform/windowsPattern.h"

#include <cctype>

namespace platform {

namespace {

// The core's notation for a run of one picture letter; empty for what is left out.
std::string patternForRun(char letter, std::size_t length) {
    switch (letter) {
        case 'd':
        case 'M':
            return length <= 2 ? std::string(length, letter) : std::string();
        case 'y':
            return length <= 2 ? "yy" : "yyyy";
        case 'h':
        case 'H':
        case 'm':
        case 's':
            return std::string(length < 2 ? 1 : 2, letter);
        case 't':
            return "AP";
        case 'g':
            return std::string();
        default:
            return "'" + std::string(length, letter) + "'";
    }
}

}  // namespace

std::string patternFromWindowsPicture(const std::string& picture) {
    std::string pattern;
    for (std::size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            // Quoted text means the same in both notations, '' included.
            std::size_t end = picture.find('\'', i + 1);
            end = end == std::string::npos ? picture.size() : end + 1;
            pattern += picture.substr(i, end - i);
            i = end;
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            std::size_t length = 1;
            while (i + length < picture.size() && picture[i + length] == c) {
                ++length;
            }
            pattern += patternForRun(c, length);
            i += length;
        } else {
            pattern += c;
            ++i;
        }
    }
    return pattern;
}

}  // namespace platform
