#include "ui/qt/fileText.h"

#include <cstdio>

#include "files/ioError.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "ui/qt/qtText.h"

QString readFileText(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw IoError(formatMessage(language::cannotOpenFile, path));
    }
    std::string bytes;
    char buffer[65536];
    std::size_t length = 0;
    while ((length = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, length);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        throw IoError(formatMessage(language::cannotOpenFile, path));
    }
    return withQtLineEnds(bytes);
}
