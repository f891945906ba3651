#include "runner/taskFiles.h"

#include "files/textFile.h"
#include "task/task.h"
#include "task/taskChoices.h"

std::vector<std::string> filesOfTask(const Ttask& task) {
    std::vector<std::string> files;
    for (const std::string* path : {&task.origVobFilePath, &task.m2vFilePath, &task.ac3FilePath,
                                    &task.vobFilePath, &task.dvdFolderPath}) {
        if (!path->empty()) {
            files.push_back(*path);
        }
    }
    if (taskChoices::keepsEveryAudioTrack(task)) {
        for (int number = 1; number <= taskChoices::mostAudioTracks; ++number) {
            for (const char* extension : taskChoices::audioTrackExtensions) {
                files.push_back(taskChoices::audioTrackPath(task.ac3FilePath, number, extension));
            }
        }
    }
    return files;
}

bool tasksShareAFile(const std::vector<std::string>& first,
                     const std::vector<std::string>& second) {
    for (const std::string& one : first) {
        for (const std::string& other : second) {
            if (one == other || namesSameFile(one, other)) {
                return true;
            }
        }
    }
    return false;
}
