#include "language/messageFormat.h"

std::string formatMessage(const char* format, const std::string& argument) {
    std::string text(format);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

std::string formatMessage(const char* format, int argument) {
    std::string text(format);
    const std::size_t at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(argument));
    }
    return text;
}
