#include "support/fakeDvdTools.h"

#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

std::string writeBytesCommand(long long bytes, const std::string& target) {
    if (bytes < 0) {
        return ":";
    }
    return "head -c " + std::to_string(bytes) + " /dev/zero > \"" + target + "\"";
}

}  // namespace

TaskRef taskInFolder(const std::string& folderPath, const std::string& name,
                     long long sourceBytes) {
    auto task = std::make_shared<Ttask>();
    const std::string base = folderPath + "/" + name;
    task->origVobFilePath = base + ".VOB";
    task->m2vFilePath = base + ".m2v";
    task->ac3FilePath = base + ".ac3";
    task->vobFilePath = folderPath + "/remuxed " + name + ".VOB";
    task->dvdFolderPath = base + " dvd";
    if (sourceBytes >= 0) {
        writeBytes(task->origVobFilePath, std::string(static_cast<std::size_t>(sourceBytes), 'v'));
    }
    return task;
}

FakeDvdTools::FakeDvdTools(std::string folder) : folder(std::move(folder)) {
    write();
}

void FakeDvdTools::write() const {
    const std::string record = "echo \"$(basename \"$0\") $*\" >> '" + callsPath() + "'\n";
    writeScript(folder + "/bbdmux", record +
                                        "case \"$2\" in\n"
                                        "0xbd) i=0; while [ -e '" +
                                        audioGatePath() +
                                        "' ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done; " +
                                        writeBytesCommand(audioBytes, "$3") + ";;\n0xe0) " +
                                        writeBytesCommand(videoBytes, "$3") + ";;\nesac");
    writeScript(folder + "/mplex", record + writeBytesCommand(remuxBytes, "$5"));
    writeScript(folder + "/dvdauthor",
                record +
                    "mkdir -p \"$2/VIDEO_TS\"\n"
                    "if [ \"$3\" = -t ]; then " +
                    writeBytesCommand(titleBytes, "$2/VIDEO_TS/VTS_01_1.VOB") +
                    "; else touch \"$2/VIDEO_TS/VIDEO_TS.IFO\"; fi");
}

SettingsValues FakeDvdTools::settings() const {
    return {folder + "/bbdmux", folder + "/mplex", folder + "/dvdauthor", "PAL"};
}
