#pragma once

#include <functional>
#include <string>

struct RegionalFormats;

// Sizes are kibibytes (bytes / 1024) with their fractional part. These functions keep no state
// and may be called from several threads at once.

// Size of one file; 0 when it cannot be measured (missing, a folder, unreadable).
double fileSizeKb(const std::string& path);

// Summed size of VTS_01_1.VOB, VTS_01_2.VOB, ... in folderPath (which ends with a separator), up
// to the first number that is missing.
double vobSetSizeKb(const std::string& folderPath);

using ShortOutputReport = std::function<void(const std::string&)>;

// Report a short output (below expectedSize less the tolerance) through `report`, with the
// file or VIDEO_TS size message; true when the output is large enough.
bool checkFileSize(const std::string& path, double tolerancePercent, double expectedSize,
                   const RegionalFormats& formats, const ShortOutputReport& report);
bool checkVideoTsSize(const std::string& folderPath, double tolerancePercent, double expectedSize,
                      const RegionalFormats& formats, const ShortOutputReport& report);

std::string fileSizeMessage(double actual, double expectedSize, double tolerancePercent,
                            const RegionalFormats& formats);
std::string videoTsSizeMessage(double actual, double expectedSize, double tolerancePercent,
                               const RegionalFormats& formats);
