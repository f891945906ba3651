#include "support/fakeTools.h"

#include <fstream>

#include "support/tempFolder.h"

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TaskRef taskInFolder(const std::string& folderPath, const std::string& name,
                     long long sourceBytes) {
    auto task = std::make_shared<Ttask>();
    const std::string base = pathInFolder(folderPath, name);
    task->origVobFilePath = base + ".VOB";
    task->m2vFilePath = base + ".m2v";
    task->ac3FilePath = base + ".ac3";
    task->vobFilePath = pathInFolder(folderPath, "remuxed " + name + ".VOB");
    task->dvdFolderPath = base + " dvd";
    if (sourceBytes >= 0) {
        writeBytes(task->origVobFilePath, std::string(static_cast<std::size_t>(sourceBytes), 'v'));
    }
    return task;
}

IfoImage fakeAuthoredDvd() {
    IfoImage image;
    image.chapters = 99;
    return image;
}

void writeAuthoredIfoFiles(const std::string& folder, const IfoImage& image) {
    writeBytes(pathInFolder(folder, "VTS_01_0.IFO.fake"), titleSetIfoBytes(image));
    writeBytes(pathInFolder(folder, "VIDEO_TS.IFO.fake"), videoManagerIfoBytes(1));
}

FakeDvdTools::FakeDvdTools(std::string folder) : folder(std::move(folder)) {
    write();
}
