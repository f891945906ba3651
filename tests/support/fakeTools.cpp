#include "support/fakeTools.h"

#include <filesystem>
#include <fstream>

#include "support/tempFolder.h"

void writeScript(const std::string& path, const std::string& body) {
    writeBytes(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

void writeRecordingTool(const std::string& path, const std::string& recordPath) {
    writeScript(path,
                "for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > '" + recordPath + "'");
}

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}
