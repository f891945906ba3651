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

namespace {

std::string writeBytesCommand(long long bytes, const std::string& target) {
    if (bytes < 0) {
        return ":";
    }
    return "head -c " + std::to_string(bytes) + " /dev/zero > \"" + target + "\"";
}

}  // namespace

void FakeDvdTools::write() const {
    const std::string record = "echo \"$(basename \"$0\") $*\" >> '" + callsPath() + "'\n";
    writeScript(folder + "/bbdmux", record +
                                        "case \"$2\" in\n"
                                        "0xbd) i=0; while { [ -e '" +
                                        audioGatePath() +
                                        "' ] || [ -e \"$3.gate\" ]; } && [ $i -lt 600 ]; do "
                                        "sleep 0.05; i=$((i+1)); done; " +
                                        writeBytesCommand(audioBytes, "$3") + ";;\n0xe0) " +
                                        writeBytesCommand(videoBytes, "$3") + ";;\nesac");
    writeScript(folder + "/mplex", record +
                                       "i=0; while [ -e \"$5.gate\" ] && [ $i -lt 600 ]; do "
                                       "sleep 0.05; i=$((i+1)); done\n" +
                                       writeBytesCommand(remuxBytes, "$5") + "\nexit " +
                                       std::to_string(remuxExitStatus));
    writeAuthoredIfoFiles(folder, authored);
    writeScript(folder + "/dvdauthor",
                record +
                    "mkdir -p \"$2/VIDEO_TS\"\n"
                    "if [ \"$3\" = -t ]; then " +
                    writeBytesCommand(titleBytes, "$2/VIDEO_TS/VTS_01_1.VOB") + "; cp '" + folder +
                    "/VTS_01_0.IFO.fake' \"$2/VIDEO_TS/VTS_01_0.IFO\"; else cp '" + folder +
                    "/VIDEO_TS.IFO.fake' \"$2/VIDEO_TS/VIDEO_TS.IFO\"; fi");
}

SettingsValues FakeDvdTools::settings() const {
    return {folder + "/bbdmux", folder + "/mplex", folder + "/dvdauthor", "PAL"};
}
