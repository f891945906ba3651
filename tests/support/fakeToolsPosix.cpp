#include <filesystem>

#include "support/fakeTools.h"
#include "support/tempFolder.h"

void writeScript(const std::string& path, const std::string& body) {
    writeBytes(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

void writeRecordingTool(const std::string& path, const std::string& recordPath) {
    writeScript(path,
                "for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > '" + recordPath + "'");
}
