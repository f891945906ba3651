#include "ui/fileText.h"

#include <cstdio>

#include "language/language.h"
#include "storage/ioError.h"
#include "ui/qtText.h"

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
