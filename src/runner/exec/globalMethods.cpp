#include "runner/exec/globalMethods.h"

#include <filesystem>
#include <system_error>

#include "language/language.h"
#include "regional/formatting.h"

namespace fs = std::filesystem;

namespace {

std::string sizeFigures(double actual, double expectedSize, double tolerancePercent,
                        const RegionalFormats& formats) {
    return formatting::groupedWhole(actual, formats) + " Ko/" +
           formatting::groupedWhole(expectedSize, formats) + " Ko (" +
           formatting::upToTwoDecimals(tolerancePercent, formats) + " %) )";
}

bool isShort(double actual, double expectedSize, double tolerancePercent) {
    return expectedSize * (1 - tolerancePercent / 100) > actual;
}

}  // namespace

double fileSizeKb(const std::string& path) {
    std::error_code error;
    if (path.empty() || !fs::is_regular_file(path, error)) {
        return 0;
    }
    const std::uintmax_t bytes = fs::file_size(path, error);
    return error ? 0 : static_cast<double>(bytes) / 1024;
}

double vobSetSizeKb(const std::string& folderPath) {
    double sum = 0;
    std::error_code error;
    for (int n = 1;; ++n) {
        const std::string path = folderPath + "VTS_01_" + std::to_string(n) + ".VOB";
        if (!fs::is_regular_file(path, error)) {
            return sum;
        }
        sum += fileSizeKb(path);
    }
}

std::string fileSizeMessage(double actual, double expectedSize, double tolerancePercent,
                            const RegionalFormats& formats) {
    return std::string(language::fileSizeMismatchBefore) + language::webPageAddress +
           language::sizeMismatchAfter +
           sizeFigures(actual, expectedSize, tolerancePercent, formats);
}

std::string videoTsSizeMessage(double actual, double expectedSize, double tolerancePercent,
                               const RegionalFormats& formats) {
    return std::string(language::videoTsSizeMismatchBefore) + language::webPageAddress +
           language::sizeMismatchAfter +
           sizeFigures(actual, expectedSize, tolerancePercent, formats);
}

bool checkFileSize(const std::string& path, double tolerancePercent, double expectedSize,
                   const RegionalFormats& formats, const ShortOutputReport& report) {
    const double actual = fileSizeKb(path);
    if (!isShort(actual, expectedSize, tolerancePercent)) {
        return true;
    }
    report(fileSizeMessage(actual, expectedSize, tolerancePercent, formats));
    return false;
}

bool checkVideoTsSize(const std::string& folderPath, double tolerancePercent, double expectedSize,
                      const RegionalFormats& formats, const ShortOutputReport& report) {
    const double actual = vobSetSizeKb(folderPath);
    if (!isShort(actual, expectedSize, tolerancePercent)) {
        return true;
    }
    report(videoTsSizeMessage(actual, expectedSize, tolerancePercent, formats));
    return false;
}
