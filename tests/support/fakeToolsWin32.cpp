#include "support/fakeTools.h"

#include <filesystem>
#include <stdexcept>

#include "platform/programLocation.h"
#include "support/tempFolder.h"

std::string fakeToolProgram() {
#ifdef MAROVINK_FAKE_TOOL_PATH
    return MAROVINK_FAKE_TOOL_PATH;
#else
    return programLocation::folderOf(platform::runningProgramPath()) + "marovink_fake_tool.exe";
#endif
}

namespace {

void copyFakeTool(const std::string& path) {
    std::error_code error;
    std::filesystem::copy_file(fakeToolProgram(), path,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        throw std::runtime_error("cannot copy the fake tool to " + path + ": " + error.message());
    }
}

}  // namespace

std::string installFakeTool(const std::string& folder, const std::string& name) {
    const std::string path = folder + "\\" + name + ".exe";
    copyFakeTool(path);
    return path;
}

void writeRecordingTool(const std::string& path, const std::string& recordPath) {
    copyFakeTool(path + ".exe");
    writeBytes(path + ".record", recordPath);
}

void writeFakeToolSizes(const std::string& folder, long long audio, long long video,
                        long long remux, long long title, int remuxExitStatus) {
    writeBytes(folder + "\\sizes.txt",
               "audio " + std::to_string(audio) + "\nvideo " + std::to_string(video) + "\nremux " +
                   std::to_string(remux) + "\ntitle " + std::to_string(title) + "\nremuxExit " +
                   std::to_string(remuxExitStatus) + "\n");
    if (!std::filesystem::exists(folder + "\\VTS_01_0.IFO.fake")) {
        writeAuthoredIfoFiles(folder, fakeAuthoredDvd());
    }
}

// Copies of the fake tool program, which acts by the name it has and writes the sizes of
// sizes.txt beside it.
void FakeDvdTools::write() const {
    for (const char* name : {"bbdmux", "mplex", "dvdauthor"}) {
        installFakeTool(folder, name);
    }
    writeAuthoredIfoFiles(folder, authored);
    writeFakeToolSizes(folder, audioBytes, videoBytes, remuxBytes, titleBytes, remuxExitStatus);
}

SettingsValues FakeDvdTools::settings() const {
    return {folder + "\\bbdmux.exe", folder + "\\mplex.exe", folder + "\\dvdauthor.exe", "PAL"};
}
