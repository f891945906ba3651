#include "support/fakeDvdTools.h"

#include "support/tempFolder.h"

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
